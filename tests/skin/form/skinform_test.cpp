// The frame as a whole: the form's events reaching its parts.
#include "formfixture.h"
#include "skin/form/skincaptionobject.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace quorvel;

TEST(SkinForm, ActivationFiresItsEventTwice)
{
    FormFixture f;
    f.ShowActive();
    f.events.clear();
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&f.form(), &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&f.form(), &activate);
    // The window is still the active one, so both rounds report it active.
    EXPECT_EQ(f.events, (std::vector<std::string>{"activate", "activate", "activate", "activate"}));
    EXPECT_TRUE(dynamic_cast<SkinCaptionObject&>(f.Object("caption")).Hot);
}
