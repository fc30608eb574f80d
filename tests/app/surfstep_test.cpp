// Which zaps are steps to the neighbouring channel, and which channel a viewer surfing that way
// asks for next.
#include "app/surfstep.h"

#include <QTreeWidgetItem>

#include <gtest/gtest.h>
#include <memory>

using quorvel::SurfStep;

namespace {

std::unique_ptr<QTreeWidgetItem> Category(int channels)
{
    auto category = std::make_unique<QTreeWidgetItem>(QStringList{"News"});
    for (int i = 0; i < channels; ++i)
        category->addChild(new QTreeWidgetItem(QStringList{QString("Channel %1").arg(i)}));
    return category;
}

} // namespace

TEST(SurfStep, AStepEitherWayToTheNeighbourNamesTheChannelAfterItRoundTheCategory)
{
    const auto news = Category(4);
    QTreeWidgetItem* c[] = {news->child(0), news->child(1), news->child(2), news->child(3)};
    SurfStep step = SurfStep::Between(c[0], c[1]);
    EXPECT_EQ(step.direction, 1);
    EXPECT_EQ(step.after, c[2]);
    step = SurfStep::Between(c[2], c[3]);
    EXPECT_EQ(step.direction, 1);
    EXPECT_EQ(step.after, c[0]);
    step = SurfStep::Between(c[1], c[0]);
    EXPECT_EQ(step.direction, -1);
    EXPECT_EQ(step.after, c[3]);
    step = SurfStep::Between(c[0], c[3]);
    EXPECT_EQ(step.direction, -1);
    EXPECT_EQ(step.after, c[2]);
}

TEST(SurfStep, AJumpAnotherCategoryOrTheSameChannelIsNoStep)
{
    const auto news = Category(4);
    const auto sport = Category(3);
    for (const auto& [from, to] :
         {std::pair{news->child(0), news->child(2)}, std::pair{news->child(0), sport->child(1)},
          std::pair{news->child(1), news->child(1)}, std::pair{news->child(1), news.get()}}) {
        const SurfStep step = SurfStep::Between(from, to);
        EXPECT_EQ(step.direction, 0);
        EXPECT_EQ(step.after, nullptr);
    }
    EXPECT_EQ(SurfStep::Between(nullptr, news->child(0)).direction, 0);
}

TEST(SurfStep, InACategoryOfTwoEitherWayIsForwardAndLeadsBack)
{
    const auto pair = Category(2);
    const SurfStep step = SurfStep::Between(pair->child(1), pair->child(0));
    EXPECT_EQ(step.direction, 1);
    EXPECT_EQ(step.after, pair->child(1));
    EXPECT_EQ(SurfStep::Neighbour(pair.get(), 1), nullptr);
}
