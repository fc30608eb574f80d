#pragma once

#include <QObject>

#include <string>
#include <vector>

namespace quorvel {

// The skin engine's user-interface texts, as "NAME=text" lines.
class ResourceStrData : public QObject {
    Q_OBJECT
public:
    explicit ResourceStrData(QObject* owner = nullptr);

    const std::vector<std::string>& ResStrings() const { return resStrings_; }
    void SetResStrings(const std::vector<std::string>& lines) { resStrings_ = lines; }
    int CharSet = 1;

    // The text after the first "=" of the line with that name; empty when there is none.
    std::string GetResStr(const std::string& name) const;

private:
    std::vector<std::string> resStrings_;
};

} // namespace quorvel
