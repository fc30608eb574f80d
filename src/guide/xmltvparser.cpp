#include "guide/xmltvparser.h"

#include "guide/guidenames.h"
#include "guide/programmecollector.h"
#include "guide/singlebyteencodings.h"
#include "guide/xmltvtime.h"

#include <algorithm>
#include <cstring>
#include <expat.h>

namespace quorvel {
namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void Trim(std::string& text)
{
    std::size_t end = text.size();
    while (end > 0 && IsSpace(text[end - 1]))
        --end;
    std::size_t begin = 0;
    while (begin < end && IsSpace(text[begin]))
        ++begin;
    text.erase(end);
    text.erase(0, begin);
}

// Cuts and trims a text once its element ends; one read past the limit is cut with a mark.
void Settle(std::string& text, std::size_t limit)
{
    Trim(text);
    CutText(text, limit);
}

// Expat reads UTF-8, UTF-16 and Latin-1 itself; the single-byte code pages some guides are still
// written in are handed to it as tables.
int OnUnknownEncoding(void*, const XML_Char* name, XML_Encoding* info)
{
    if (!SingleByteEncoding(name, info->map))
        return XML_STATUS_ERROR;
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

// The place in its clump of clumpidx "i/n" (two programmes of one slot are "0/2" and "1/2"); 0
// for one that is no valid place, so that it counts as the slot's first.
int ClumpIndex(const char* text)
{
    int index = 0;
    int size = 0;
    const char* c = text;
    auto number = [&c](int& n) {
        const char* begin = c;
        while (*c >= '0' && *c <= '9' && c - begin < 3)
            n = n * 10 + (*c++ - '0');
        return c != begin;
    };
    if (!number(index) || *c++ != '/' || !number(size) || *c != '\0')
        return 0;
    return size <= XmltvParser::kClumpLimit && index < size ? index : 0;
}

} // namespace

XmltvParser::XmltvParser(Events& events) : events_(events), parser_(XML_ParserCreate(nullptr))
{
    if (!parser_) {
        Stop("the guide reader could not be started");
        return;
    }
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, &XmltvParser::OnStart, &XmltvParser::OnEnd);
    XML_SetCharacterDataHandler(parser_, &XmltvParser::OnText);
    XML_SetEntityDeclHandler(parser_, &XmltvParser::OnEntityDeclaration);
    XML_SetUnknownEncodingHandler(parser_, &OnUnknownEncoding, nullptr);
    // External parts of the document type (the DTD a guide names, parameter entities) are
    // never read: nothing is fetched on a guide's word.
    XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
}

XmltvParser::~XmltvParser()
{
    if (parser_)
        XML_ParserFree(parser_);
}

void XmltvParser::Stop(std::string problem)
{
    if (stopped_)
        return;
    stopped_ = true;
    problem_ = std::move(problem);
    if (parser_)
        XML_StopParser(parser_, XML_FALSE);
}

bool XmltvParser::Parse(const char* data, std::size_t size, bool last)
{
    if (stopped_)
        return false;
    // Parts of at most a megabyte, so that the bytes since expat's last report are known to a
    // megabyte.
    do {
        const int part = static_cast<int>(std::min<std::size_t>(size, std::size_t(1) << 20));
        const bool final = last && static_cast<std::size_t>(part) == size;
        if (XML_Parse(parser_, data, part, final) != XML_STATUS_OK) {
            if (!stopped_) {
                const XML_Error code = XML_GetErrorCode(parser_);
                const unsigned long line = XML_GetCurrentLineNumber(parser_);
                const bool endsEarly =
                    final && (code == XML_ERROR_NO_ELEMENTS || code == XML_ERROR_UNCLOSED_TOKEN ||
                              code == XML_ERROR_PARTIAL_CHAR || code == XML_ERROR_UNCLOSED_CDATA_SECTION);
                if (code == XML_ERROR_UNKNOWN_ENCODING || code == XML_ERROR_INCORRECT_ENCODING)
                    Stop("the guide is written in an encoding not read here (" + std::string(XML_ErrorString(code)) +
                         ")");
                else if (endsEarly && sawRoot_)
                    Stop("the guide ends early, in the middle of line " + std::to_string(line));
                else if (endsEarly && line <= 1 && XML_GetCurrentByteIndex(parser_) <= 0)
                    Stop("the file is empty, no programme guide");
                else if (!sawRoot_)
                    Stop("the file is no programme guide (not XML: " + std::string(XML_ErrorString(code)) + ")");
                else
                    Stop("the guide is broken at line " + std::to_string(line) + " (" + XML_ErrorString(code) + ")");
            }
            return false;
        }
        data += part;
        size -= static_cast<std::size_t>(part);
        // Expat holds a tag, comment or declaration whole before it reports it: one that goes
        // on for megabytes is no guide's, and would take memory without end.
        bytesSinceEvent_ += static_cast<std::size_t>(part);
        if (bytesSinceEvent_ > kLongestToken) {
            Stop("the guide holds a tag or comment of more than " + std::to_string(kLongestToken >> 20) +
                 " MB; it is not read");
            return false;
        }
    } while (size > 0);
    return !stopped_;
}

bool XmltvParser::Feed(const char* data, std::size_t size) { return size == 0 ? !stopped_ : Parse(data, size, false); }

bool XmltvParser::Finish() { return Parse("", 0, true); }

void XmltvParser::OnStart(void* self, const char* name, const char** attributes)
{
    static_cast<XmltvParser*>(self)->Start(name, attributes);
}

void XmltvParser::OnEnd(void* self, const char*) { static_cast<XmltvParser*>(self)->End(); }

void XmltvParser::OnText(void* self, const char* text, int length)
{
    XmltvParser& p = *static_cast<XmltvParser*>(self);
    p.bytesSinceEvent_ = 0;
    if (!p.field_)
        return;
    // A little past the limit is kept so that the cut can tell the text was longer; the rest of
    // a text of megabytes is never copied.
    const std::size_t room = p.fieldLimit_ + 8 - std::min(p.field_->size(), p.fieldLimit_ + 8);
    p.field_->append(text, std::min(room, static_cast<std::size_t>(length)));
}

void XmltvParser::OnEntityDeclaration(void* self, const char* name, int, const char*, int, const char*, const char*,
                                      const char*, const char*)
{
    static_cast<XmltvParser*>(self)->Stop(std::string("the guide declares entities (\"") + name +
                                          "\"), which guides have no need of; it is not read");
}

void XmltvParser::Start(const char* name, const char** attributes)
{
    bytesSinceEvent_ = 0;
    const int level = depth_++;
    if (level == 0) {
        if (!Is(name, "tv")) {
            Stop(std::string("the file is no programme guide (it holds <") + name + ">)");
            return;
        }
        sawRoot_ = true;
        return;
    }
    if (level == 1) {
        if (Is(name, "programme")) {
            StartProgramme(attributes);
        } else if (Is(name, "channel")) {
            section_ = Section::Channel;
            channel_.clear();
            displayNames_.clear();
            for (const char** a = attributes; *a; a += 2)
                if (Is(a[0], "id"))
                    channel_ = a[1];
        } else {
            section_ = Section::None;
        }
        return;
    }
    if (level != 2)
        return;
    if (section_ == Section::Channel) {
        if (Is(name, "display-name") && displayNames_.size() < kDisplayNames) {
            field_ = &displayNames_.emplace_back();
            fieldLimit_ = kDisplayNameLimit;
        }
    } else if (section_ == Section::Programme) {
        // Guides give a text in several languages; the first is kept.
        auto take = [this](std::string& field, bool& have, std::size_t limit) {
            if (have)
                return;
            have = true;
            field_ = &field;
            fieldLimit_ = limit;
        };
        if (Is(name, "title"))
            take(programme_.title, haveTitle_, kTitleLimit);
        else if (Is(name, "sub-title"))
            take(programme_.subTitle, haveSubTitle_, kSubTitleLimit);
        else if (Is(name, "desc"))
            take(programme_.description, haveDescription_, kDescriptionLimit);
        else if (Is(name, "category"))
            take(programme_.category, haveCategory_, kCategoryLimit);
    }
}

void XmltvParser::StartProgramme(const char** attributes)
{
    const char* channel = nullptr;
    const char* start = nullptr;
    const char* stop = nullptr;
    const char* clump = nullptr;
    for (const char** a = attributes; *a; a += 2) {
        if (Is(a[0], "channel"))
            channel = a[1];
        else if (Is(a[0], "start"))
            start = a[1];
        else if (Is(a[0], "stop"))
            stop = a[1];
        else if (Is(a[0], "clumpidx"))
            clump = a[1];
    }
    section_ = Section::Skipped;
    if (!channel || !start || !events_.WantsProgramme(channel))
        return;
    const std::optional<std::int64_t> startTime = ParseGuideTime(start);
    if (!startTime)
        return;
    const std::optional<std::int64_t> stopTime = stop ? ParseGuideTime(stop) : std::nullopt;
    section_ = Section::Programme;
    channel_ = channel;
    programme_.start = *startTime;
    programme_.stop = stopTime ? *stopTime : ProgrammeCollector::kNoTime;
    programme_.clump = clump ? ClumpIndex(clump) : 0;
    programme_.title.clear();
    programme_.subTitle.clear();
    programme_.description.clear();
    programme_.category.clear();
    haveTitle_ = haveSubTitle_ = haveDescription_ = haveCategory_ = false;
}

void XmltvParser::End()
{
    bytesSinceEvent_ = 0;
    const int level = --depth_;
    if (level == 2) {
        field_ = nullptr;
        if (section_ == Section::Channel && !displayNames_.empty())
            Settle(displayNames_.back(), kDisplayNameLimit);
        return;
    }
    if (level != 1)
        return;
    const Section section = section_;
    section_ = Section::None;
    field_ = nullptr;
    if (section == Section::Channel) {
        events_.ChannelRead(channel_, displayNames_);
    } else if (section == Section::Programme) {
        Settle(programme_.title, kTitleLimit);
        Settle(programme_.subTitle, kSubTitleLimit);
        Settle(programme_.description, kDescriptionLimit);
        Settle(programme_.category, kCategoryLimit);
        events_.ProgrammeRead(channel_, programme_);
    }
}

} // namespace quorvel
