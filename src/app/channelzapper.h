#pragma once

#include "catalogue/channelnumbers.h"
#include "watching/channelnumbering.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>

namespace quorvel {

class ViewerDatabase;

// Channel numbers as on a television: the playlists' own, else the place in the catalogue (see
// ChannelNumbers). They are worked out when first needed after the catalogue changed.
class ChannelZapper : public ChannelNumbering {
public:
    explicit ChannelZapper(std::string catalogueFile);
    ~ChannelZapper() override;

    // The catalogue or the playlists changed: numbers are worked out again when next needed.
    void Invalidate();
    int NumberOf(const QString& channel) override;
    QString CategoryOf(const QString& channel) override;
    ChannelRef ChannelOf(int number) override;

private:
    const ChannelNumbers& Numbers();

    std::string catalogue_;
    std::unique_ptr<ViewerDatabase> db_;
    std::optional<ChannelNumbers> numbers_;
};

} // namespace quorvel
