#include "formfixture.h"

#include "app/storedskin.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quorvel;

FormFixture::FormFixture(bool withSkin) : form_(std::make_unique<QWidget>())
{
    form_->setWindowTitle(QStringLiteral("Quorvel Online TV v1.12"));
    frame_ = new SkinForm(form_.get());
    frame_->SetBorderIcons(BorderIcons{false, true, true, true, false});
    if (withSkin) {
        stored_.SetCompressedData(StoredSkinData());
        data_ = new SkinData(form_.get());
        data_->SetCompressedStoredSkin(&stored_);
        frame_->SetSkinData(data_);
    }
    frame_->SetFormClientSize(QSize(712, 446));
    form_->move(100, 100);
    frame_->OnActivate = [this] { events.push_back("activate"); };
    frame_->OnDeActivate = [this] { events.push_back("deactivate"); };
    frame_->OnMouseDownEvent = [this](const std::string& id, int, int, const SkinRect&, Qt::MouseButton) {
        events.push_back("down " + id);
    };
    frame_->OnMouseUpEvent = [this](const std::string& id, int, int, const SkinRect&, Qt::MouseButton) {
        events.push_back("up " + id);
    };
    frame_->OnChangeRollUpState = [this] { events.push_back("rollup"); };
}

FormFixture::~FormFixture() = default;

void FormFixture::ShowActive()
{
    form_->show();
    form_->activateWindow();
    if (!QTest::qWaitForWindowActive(form_.get(), 5000))
        ADD_FAILURE() << "the window did not become the active one";
}

int FormFixture::IndexOf(const std::string& id) const
{
    for (int i = 0; i < frame_->Skin().Objects.Count(); ++i)
        if (frame_->Skin().Objects.At(i)->IDName == id)
            return i;
    return -1;
}

ActiveSkinObject& FormFixture::Object(const std::string& id) const { return *frame_->Skin().Objects.At(IndexOf(id)); }

int FormFixture::RunMorph(int maxTicks)
{
    int ticks = 0;
    FrameInput& input = frame_->Input();
    while (input.MorphTimer->isActive() && ticks < maxTicks) {
        input.MorphTimerTick();
        ++ticks;
    }
    return ticks;
}
