#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct z_stream_s;

namespace quorvel {

// Unpacks a gzip stream fed in chunks: several members one after the other as one stream,
// anything after the last member that is no further member ignored (servers pad with zeros).
class Gunzip {
public:
    using Take = std::function<bool(const char* data, std::size_t size)>;

    Gunzip();
    ~Gunzip();
    Gunzip(const Gunzip&) = delete;
    Gunzip& operator=(const Gunzip&) = delete;

    // Unpacks the bytes, handing what comes out to take. False when the stream is damaged (see
    // Problem) or take answered false; nothing more is unpacked then.
    bool Feed(const char* data, std::size_t size, const Take& take);
    // Whether what was fed ends where a member ends, undamaged.
    bool Complete() const { return problem_.empty() && atMemberEnd_; }
    // Why the stream broke off; empty when it did not.
    const std::string& Problem() const { return problem_; }

private:
    std::unique_ptr<z_stream_s> stream_;
    std::vector<char> out_;
    bool atMemberEnd_ = false;
    bool trailing_ = false; // past the last member: the rest is ignored
    bool stopped_ = false;
    std::string problem_;
};

} // namespace quorvel
