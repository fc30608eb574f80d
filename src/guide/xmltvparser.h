#pragma once

#include "guide/programme.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct XML_ParserStruct;

namespace quorvel {

// Reads the XML of a guide in chunks and tells its events what it holds: each <channel> with
// its display names, and each <programme> its events want, with times made UTC instants and
// texts trimmed and cut to a sane length.
//
// A hostile guide is stopped: a document type that declares entities is refused at its first
// declaration (nothing is ever fetched, and no entity is expanded, so an expansion bomb never
// starts); a document that is no guide is refused at its first element.
class XmltvParser {
public:
    class Events {
    public:
        virtual ~Events() = default;
        // A <programme> of the guide channel starts: whether to read it. Those not wanted are
        // skipped without a copy of their texts.
        virtual bool WantsProgramme(std::string_view channel) = 0;
        // A programme that was wanted, with a valid start; stop is ProgrammeCollector::kNoTime
        // when it has none that reads. The events may move from programme.
        virtual void ProgrammeRead(std::string_view channel, Programme& programme) = 0;
        virtual void ChannelRead(std::string_view id, const std::vector<std::string>& displayNames) = 0;
    };

    // Limits in bytes of what is kept of a text.
    static constexpr std::size_t kTitleLimit = 300;
    static constexpr std::size_t kSubTitleLimit = 300;
    static constexpr std::size_t kDescriptionLimit = 4000;
    static constexpr std::size_t kCategoryLimit = 100;
    static constexpr std::size_t kDisplayNameLimit = 200;
    static constexpr std::size_t kDisplayNames = 16;
    static constexpr std::size_t kLongestToken = std::size_t(16) << 20;
    // The most programmes one slot of a channel holds: a clumpidx beyond it counts as none.
    static constexpr int kClumpLimit = 16;

    explicit XmltvParser(Events& events);
    ~XmltvParser();
    XmltvParser(const XmltvParser&) = delete;
    XmltvParser& operator=(const XmltvParser&) = delete;

    // Reads the next bytes; false once the guide is refused or broken (see Problem).
    bool Feed(const char* data, std::size_t size);
    // The end of the guide: false when it is not a whole guide.
    bool Finish();
    // Why reading stopped, for the viewer; empty while all is well.
    const std::string& Problem() const { return problem_; }
    // Whether any <tv> root was seen: the bytes are a guide at all.
    bool SawGuide() const { return sawRoot_; }

private:
    enum class Section { None, Channel, Programme, Skipped };

    static void OnStart(void* self, const char* name, const char** attributes);
    static void OnEnd(void* self, const char* name);
    static void OnText(void* self, const char* text, int length);
    static void OnEntityDeclaration(void* self, const char* name, int isParameter, const char* value, int length,
                                    const char* base, const char* systemId, const char* publicId, const char* notation);

    void Start(const char* name, const char** attributes);
    void End();
    void StartProgramme(const char** attributes);
    void Stop(std::string problem);
    bool Parse(const char* data, std::size_t size, bool last);

    Events& events_;
    XML_ParserStruct* parser_;
    int depth_ = 0;
    Section section_ = Section::None;
    std::string* field_ = nullptr; // the text being read, or none
    std::size_t fieldLimit_ = 0;
    std::size_t bytesSinceEvent_ = 0;
    bool sawRoot_ = false;
    bool stopped_ = false;
    std::string problem_;

    std::string channel_; // of the programme or <channel> being read
    std::vector<std::string> displayNames_;
    Programme programme_;
    bool haveTitle_ = false, haveSubTitle_ = false, haveDescription_ = false, haveCategory_ = false;
};

} // namespace quorvel
