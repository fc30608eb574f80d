#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace quorvel {

// The grid's rows: the catalogue's channels in the tree's order (categories in order, each
// with its channels), narrowed to a category or the viewer's favourites and to names containing
// a text, letter case aside, as the tree's find box finds them. Read from the catalogue file and
// the viewer's database, never from the tree's widget.
class GridChannels {
public:
    struct Row {
        QString name;
        QString category; // its category in the catalogue
    };
    // The chooser's first two entries; the categories follow.
    static constexpr int kAll = 0;
    static constexpr int kFavourites = 1;

    GridChannels() = default;
    // favourites: their catalogue names, in the viewer's order; those the catalogue no longer
    // has are left out (they play nothing).
    GridChannels(const std::string& catalogueFile, const std::vector<std::string>& favourites);

    // The categories, in the tree's order, each once.
    const QStringList& Categories() const { return categories_; }
    // Chooses the rows: kAll, kFavourites, or kFavourites + 1 + a category's index; and the
    // text their names contain (empty for all).
    void Filter(int choice, const QString& text);
    int Choice() const { return choice_; }

    int Count() const { return static_cast<int>(shown_.size()); }
    const Row& At(int row) const { return rows_[shown_[static_cast<std::size_t>(row)]]; }
    // The row of that channel (letter case aside) among those shown, else -1.
    int RowOf(const QString& name) const;

private:
    std::vector<Row> rows_;       // every channel once, in tree order
    std::vector<int> favourites_; // indexes into rows_, in the viewer's order
    std::vector<int> categoryOf_; // by row: its category's index in categories_
    std::vector<int> shown_;      // indexes into rows_
    QStringList categories_;
    int choice_ = kAll;
};

} // namespace quorvel
