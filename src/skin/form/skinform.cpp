#include "skin/form/skinform.h"

#include "skin/form/defaultframe.h"
#include "skin/render/effectbmp.h"
#include "skin/form/frameclient.h"
#include "skin/form/monitorarea.h"
#include "skin/form/skincaptionobject.h"
#include "skin/data/skindata.h"
#include "skin/render/skinfont.h"
#include "skin/data/skinmessageforms.h"
#include "skin/controls/skincontrol.h"
#include "skin/form/skinmenu.h"
#include "skin/form/skinmenumode.h"
#include "skin/controls/skinpagecontrol.h"
#include "skin/form/skinstdbuttonobject.h"
#include "skin/render/skinutils.h"
#include "skin/form/systemmenu.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace quorvel {
namespace {

// The default face of the frame's fonts, "宋体", as the skin engine spells it.
constexpr const char* kSongTi = "\xCB\xCE\xCC\xE5";



// The same geometry as the builders take it: a whole picture at its own size (source) and the
// frame's parts at the present size (target).
PieceGeometry FramePieceGeometry(const QImage& picture, const FormInfo& info, const SkinRect& sourceClient,
                                 const FrameGeometry& g, const SkinRect& targetClient, int W, int H)
{
    PieceGeometry p;
    p.picture = picture;
    p.S = SkinRect{0, 0, picture.width(), picture.height()};
    p.LT = info.lefttoppoint;
    p.RT = info.righttoppoint;
    p.LB = info.leftbottompoint;
    p.RB = info.rightbottompoint;
    p.C = sourceClient;
    p.W = W;
    p.H = H;
    p.NLT = g.LeftTop;
    p.NRT = g.RightTop;
    p.NLB = g.LeftBottom;
    p.NRB = g.RightBottom;
    p.NC = targetClient;
    p.leftStretch = info.leftstretch;
    p.rightStretch = info.rightstretch;
    p.topStretch = info.topstretch;
    p.bottomStretch = info.bottomstretch;
    return p;
}

// A piece of the frame at the screen's pixel density: the skin's pixels doubled (or more) as
// whole blocks, so that they line up with the window's outline, and room for sharp text.
QImage AtDensity(const QImage& piece, qreal ratio)
{
    if (piece.isNull() || ratio <= 1.0)
        return piece;
    QImage dense = piece.scaled(qRound(piece.width() * ratio), qRound(piece.height() * ratio), Qt::IgnoreAspectRatio,
                                Qt::FastTransformation);
    dense.setDevicePixelRatio(ratio);
    return dense;
}

} // namespace

SkinForm::SkinForm(QWidget* form) : QObject(form), form_(form)
{
    DefCaptionFont = SkinFont(kSongTi, 12, FontStyle{true, false, false, false});
    DefInActiveCaptionFont = DefCaptionFont;
    DefMenuItemFont = SkinFont(kSongTi, 12, FontStyle{});
    const QPalette palette;
    DefCaptionFontColor = palette.color(QPalette::ButtonText);
    DefInActiveCaptionFontColor = palette.color(QPalette::Dark);

    LeaveTimer = new QTimer(this);
    LeaveTimer->setInterval(50);
    connect(LeaveTimer, &QTimer::timeout, this, &SkinForm::LeaveTimerTick);
    MorphTimer = new QTimer(this);
    MorphTimer->setInterval(20);
    connect(MorphTimer, &QTimer::timeout, this, &SkinForm::MorphTimerTick);
    AnimateTimer = new QTimer(this);
    AnimateTimer->setInterval(25);
    connect(AnimateTimer, &QTimer::timeout, this, &SkinForm::AnimateTimerTick);

    // The window system's frame gives way to ours.
    form_->setWindowFlags(form_->windowFlags() | Qt::Window | Qt::FramelessWindowHint);
    form_->setAttribute(Qt::WA_OpaquePaintEvent);
    form_->setMouseTracking(true);
    client_ = new FrameClient(*this, form_);
    DefaultSystemMenu = new QMenu(form_);
    DefaultSystemMenu->setObjectName(QStringLiteral("DefaultSystemMenu"));
    Menu = new SkinMenu(form_);
    Menu->DefaultItemFont = DefMenuItemFont;
    menuMode_ = new SkinMenuMode(form_, *Menu);
    form_->installEventFilter(this);
    SkinMessageForms::Add(form_);
    CreateDefaultObjects();
    PlaceClientArea();
}

SkinForm::~SkinForm()
{
    SkinMessageForms::Remove(form_);
    form_->removeEventFilter(this);
    delete menuMode_;
    delete Menu;
}

QWidget* SkinForm::ClientArea() const { return client_; }

void SkinForm::SetBorderIcons(const BorderIcons& icons)
{
    borderIcons_ = icons;
    CreateDefaultObjects();
    ApplyButtonVisibility();
}

void SkinForm::SetShowIcon(bool value)
{
    showIcon_ = value;
    SendNcPaint();
}

void SkinForm::SetSkinData(SkinData* data)
{
    skinData_ = data;
    ApplyFrameSkin();
}

SkinData* SkinForm::GetSkinData() const { return skinData_; }

bool SkinForm::NoBorder() const { return form_->windowState() & Qt::WindowFullScreen; }

bool SkinForm::SkinUsable() const { return skinData_ && !skinData_->Empty && !pictures_.Picture().isNull(); }

// ---------------------------------------------------------------------------------------------
// Client area and geometry

QRect SkinForm::DefaultClientRect(QSize window) const
{
    const int C = DefaultFrame::CaptionHeight;
    return QRect(3, C + 3, std::max(0, window.width() - 6), std::max(0, window.height() - C - 6));
}

QRect SkinForm::ClientRectFor(QSize window) const
{
    if (NoBorder())
        return QRect(QPoint(0, 0), window);
    if (!SkinInUse)
        return DefaultClientRect(window);
    const FrameInsets in =
        SkinnedFrameInsets(skinData_->Info, pictures_.Picture().width(), pictures_.Picture().height());
    const int right = std::max(in.left, window.width() - in.right);
    const int bottom = std::max(in.top, window.height() - in.bottom);
    return QRect(in.left, in.top, right - in.left, bottom - in.top);
}

QSize SkinForm::WindowSizeForClient(QSize client) const
{
    const QRect probe = ClientRectFor(QSize(10000, 10000));
    return QSize(client.width() + 10000 - probe.width(), client.height() + 10000 - probe.height());
}

void SkinForm::SetFormClientSize(QSize client)
{
    const QSize size = WindowSizeForClient(client);
    ApplyTrackSizes();
    form_->resize(size);
    SyncSize();
}

void SkinForm::SyncSize()
{
    // A hidden window hears of its new size only when it is shown; the frame follows at once.
    if (FrameWidth != form_->width() || FrameHeight != form_->height() ||
        client_->geometry() != ClientRectFor(form_->size()))
        HandleSize();
}

void SkinForm::PlaceClientArea()
{
    const QRect r = ClientRectFor(form_->size());
    if (client_->geometry() != r)
        client_->setGeometry(r);
}

void SkinForm::ComputeFrameGeometry()
{
    if (!SkinUsable())
        return;
    if (FrameWidth == 0 || FrameHeight == 0) {
        FrameWidth = form_->width();
        FrameHeight = form_->height();
    }
    Geometry = quorvel::ComputeFrameGeometry(skinData_->Info, pictures_.Picture().width(),
                                             pictures_.Picture().height(), FrameWidth, FrameHeight);
}

void SkinForm::PlaceObjects()
{
    if (!SkinUsable())
        return;
    const QSize icon = SmallIcon().size();
    Objects.Place(Geometry, skinData_->Info, pictures_.Picture().width(), pictures_.Picture().height(), showIcon_,
                  icon);
}

void SkinForm::RebuildFrame()
{
    if (!SkinUsable())
        return;
    ComputeFrameGeometry();
    PlaceObjects();
    BuildFrameRegion();
    SendNcPaint();
}

void SkinForm::NudgeWidth()
{
    // The frame is worked out, placed and drawn again for the size the window has. Changing the
    // width by a pixel and back would do the same through the window system, and would make
    // every control in the window lay itself out twice.
    FrameWidth = form_->width();
    FrameHeight = form_->height();
    HandleSize();
}

void SkinForm::ApplyRegion(const QRegion* region)
{
    // The one place the window's outline is set or removed.
    if (region) {
        region_ = *region;
        hasRegion_ = true;
        form_->setMask(region_);
    } else {
        if (hasRegion_ || !form_->mask().isEmpty())
            form_->clearMask();
        region_ = QRegion();
        hasRegion_ = false;
    }
}

void SkinForm::BuildFrameRegion()
{
    if (NoBorder()) {
        ApplyRegion(nullptr);
        return;
    }
    if (!skinData_ || pictures_.Mask().isNull()) {
        ApplyRegion(nullptr);
        Strips = MaskStrips{};
        return;
    }
    const FormInfo& info = skinData_->Info;
    const PieceGeometry g = FramePieceGeometry(pictures_.Mask(), info, info.maskrectarea, Geometry, Geometry.MaskArea,
                                               FrameWidth, FrameHeight);
    Strips = MaskStrips{};
    BuildMaskStrips(pictures_.Mask(), g, Strips.top, Strips.bottom, Strips.left, Strips.right);
    const SkinRect& a = Geometry.MaskArea;
    QRegion region(ToQRect(a));
    if (!Strips.top.isNull())
        region += RegionFromMask(Strips.top);
    if (!Strips.bottom.isNull())
        region += RegionFromMask(Strips.bottom).translated(0, a.bottom);
    if (!Strips.left.isNull())
        region += RegionFromMask(Strips.left).translated(0, a.top);
    if (!Strips.right.isNull())
        region += RegionFromMask(Strips.right).translated(a.right, a.top);
    ApplyRegion(&region);
}

// ---------------------------------------------------------------------------------------------
// Painting

void SkinForm::SendNcPaint()
{
    piecesValid_ = false;
    QRegion frame(form_->rect());
    frame -= QRegion(client_->geometry());
    form_->update(frame);
}

void SkinForm::ComposePieces()
{
    piecesValid_ = false;
    for (QImage& piece : pieces_)
        piece = QImage();
    if (FrameWidth == 0 || FrameHeight == 0) {
        FrameWidth = form_->width();
        FrameHeight = form_->height();
    }
    if (FrameWidth < MinTrackWidth() || FrameHeight < MinTrackHeight())
        return;
    ComputeFrameGeometry();
    PlaceObjects();
    const FormInfo& info = skinData_->Info;
    const bool active = IsActiveForDrawing();
    const QImage& source =
        !active && !pictures_.InActivePicture().isNull() ? pictures_.InActivePicture() : pictures_.Picture();
    const PieceGeometry g = FramePieceGeometry(source, info, info.clientrect, Geometry, Geometry.ClientRect, FrameWidth,
                                               FrameHeight);
    BuildFramePieces(g, pieces_[0], pieces_[1], pieces_[2], pieces_[3]);
    const qreal ratio = form_->devicePixelRatioF();
    if (ratio > 1.0)
        for (QImage& piece : pieces_)
            piece = AtDensity(piece, ratio);
    piecesValid_ = true;
    // One painter per piece for all the objects on it.
    for (const bool lower : {false, true}) {
        QImage& piece = pieces_[lower ? 1 : 0];
        if (piece.isNull())
            continue;
        QPainter painter(&piece);
        for (int i = 0; i < Objects.Count(); ++i)
            if (ActiveSkinObject* o = Objects.At(i); o->Visible && InLowerPiece(*o) == lower)
                DrawObjectOn(painter, *o, false);
    }
    if (!active && info.autorenderinginactiveimage) {
        for (QImage& piece : pieces_) {
            if (piece.isNull())
                continue;
            EffectBmp effect(piece);
            effect.ApplyInactiveEffect(info.inactiveeffect);
            const qreal r = piece.devicePixelRatio();
            piece = effect.Image().convertToFormat(QImage::Format_RGB32);
            piece.setDevicePixelRatio(r);
        }
    }
}

bool SkinForm::InLowerPiece(const ActiveSkinObject& object) const
{
    // Objects reaching below the top of the client area belong to the bottom piece.
    return object.ObjectRect.bottom > Geometry.ClientRect.top;
}

void SkinForm::DrawObjectOn(QPainter& piecePainter, ActiveSkinObject& object, bool update)
{
    piecePainter.save();
    if (InLowerPiece(object))
        piecePainter.translate(0, -Geometry.ClientRect.bottom);
    piecePainter.setClipRect(ToQRect(object.ObjectRect));
    object.DrawOn(piecePainter, update);
    piecePainter.restore();
}

void SkinForm::DrawObjectIntoPiece(ActiveSkinObject& object, bool update)
{
    QImage& piece = pieces_[InLowerPiece(object) ? 1 : 0];
    if (piece.isNull())
        return;
    QPainter painter(&piece);
    DrawObjectOn(painter, object, update);
}

void SkinForm::PaintSkinnedFrame(QPainter& painter)
{
    if (!piecesValid_)
        ComposePieces();
    if (!piecesValid_) {
        // Too small for the skin's frame: a plain dark edge rather than whatever was there.
        painter.fillRect(form_->rect(), Qt::black);
        return;
    }
    // The pieces lie around the client area, never on it: no clipping is needed to keep it.
    painter.save();
    const QImage &top = pieces_[0], &bottom = pieces_[1], &left = pieces_[2], &right = pieces_[3];
    const int topHeight = qRound(top.height() / top.devicePixelRatio());
    const int bottomHeight = qRound(bottom.height() / bottom.devicePixelRatio());
    const int rightWidth = qRound(right.width() / right.devicePixelRatio());
    painter.drawImage(0, 0, top);
    painter.drawImage(0, topHeight, left);
    painter.drawImage(FrameWidth - rightWidth, topHeight, right);
    painter.drawImage(0, FrameHeight - bottomHeight, bottom);
    painter.restore();
}

SkinRect SkinForm::DefaultCaptionTextRect()
{
    return DefaultFrame::Layout(Objects, form_->width(), showIcon_, SmallIcon().size());
}

void SkinForm::PaintDefaultFrame(QPainter& painter)
{
    if (Objects.Empty())
        CreateDefaultObjects();
    const SkinRect text = DefaultCaptionTextRect();
    const bool active = IsActiveForDrawing();
    DefaultFrame::Paint(painter, form_->width(), form_->height(), text, FormCaption(),
                        active ? DefCaptionFont : DefInActiveCaptionFont,
                        active ? DefCaptionFontColor : DefInActiveCaptionFontColor, Objects);
}

void SkinForm::PaintClientBackground(QPainter& painter, const QRect& client)
{
    const QColor face = QPalette().color(QPalette::Button);
    auto tile = [&](const QImage& picture, const QRect& part) {
        if (picture.isNull() || part.isEmpty() || client.isEmpty()) {
            painter.fillRect(client, face);
            return;
        }
        const QImage piece = picture.copy(part);
        for (int y = 0; y <= client.height() / piece.height(); ++y)
            for (int x = 0; x <= client.width() / piece.width(); ++x)
                painter.drawImage(x * piece.width(), y * piece.height(), piece);
    };
    if (!SkinInUse) {
        painter.fillRect(client, face);
    } else if (skinData_->Info.bgpictureindex < 0) {
        const SkinRect& c = skinData_->Info.clientrect;
        if (c.IsEmpty())
            painter.fillRect(client, face);
        else
            tile(pictures_.Picture(), ToQRect(c));
    } else {
        const QImage& bg = pictures_.Numbered(skinData_->Info.bgpictureindex);
        tile(bg, bg.rect());
    }
    if (!LogoBitMap.isNull()) {
        const int x = std::max(0, client.width() / 2 - LogoBitMap.width() / 2);
        const int y = std::max(0, client.height() / 2 - LogoBitMap.height() / 2);
        if (LogoBitMapTransparent)
            DrawTransparent(painter, x, y, LogoBitMap);
        else
            painter.drawImage(x, y, LogoBitMap);
    }
}

void SkinForm::PaintObjectNow(ActiveSkinObject& object)
{
    if (NoBorder())
        return;
    if (SkinInUse && piecesValid_)
        DrawObjectIntoPiece(object, true);
    form_->update(ToQRect(object.ObjectRect));
}

// ---------------------------------------------------------------------------------------------
// Skin

void SkinForm::CreateObjectsFromSkin()
{
    if (skinData_)
        Objects.CreateFromSkin(*this, *skinData_, pictures_);
}

void SkinForm::CreateDefaultObjects()
{
    Objects.CreateDefault(*this);
    ApplyButtonVisibility();
}

void SkinForm::ApplyButtonVisibility()
{
    if (Objects.Empty())
        return;
    FrameObjects::Visibility rules;
    rules.hideCaptionButtons = HideCaptionButtons;
    rules.borderIcons = borderIcons_;
    if (OnActivateCustomObject)
        rules.activateCustomObject = [this](const std::string& id) {
            bool visible = false;
            OnActivateCustomObject(id, visible);
            return visible;
        };
    Objects.ApplyButtonVisibility(rules);
    AssignStandardHints();
}

void SkinForm::AssignStandardHints()
{
    if (!UseDefaultObjectHint || !skinData_)
        return;
    Objects.AssignStandardHints(skinData_->GetResourceStrData());
}

void SkinForm::ResetHoverState() { Objects.ResetHoverState(); }

void SkinForm::ApplyFrameSkin()
{
    HotIndex = PrevHotIndex = PressedIndex = -1;
    pictures_ = skinData_ && !skinData_->Empty ? SkinPictures(*skinData_) : SkinPictures();
    SkinInUse = SkinUsable();
    if (SkinInUse) {
        CreateObjectsFromSkin();
        ApplyButtonVisibility();
    } else {
        Objects.Clear();
        BuildFrameRegion();
    }
    // The size must still fit the track sizes of the new frame.
    if (!NoBorder()) {
        ApplyTrackSizes();
        const QRect b = form_->geometry();
        const int minW = MinTrackWidth(), minH = MinTrackHeight();
        if (b.width() < minW && b.height() < minH)
            form_->resize(minW, minH);
        else if (b.height() < minH)
            form_->resize(b.width(), minH);
        else if (b.width() < minW)
            form_->resize(minW, b.height());
        if ((rolledUp_ || frameState_ == FrameState::Minimized) && form_->height() != minH)
            form_->resize(form_->width(), minH);
        if (frameState_ == FrameState::Minimized && form_->width() != minW)
            form_->resize(minW, form_->height());
    }
    FrameWidth = form_->width();
    FrameHeight = form_->height();
    if (SkinInUse)
        RebuildFrame();
    PlaceClientArea();
    form_->update();
    UpdateCaptionActive(true);
    LeaveTimer->start();
    if (OnChangeSkinData)
        OnChangeSkinData();
    if (ClientWidth > 0 || ClientHeight > 0) {
        const QRect c = ClientRectFor(form_->size());
        SetFormClientSize(QSize(ClientWidth > 0 ? ClientWidth : c.width(), ClientHeight > 0 ? ClientHeight : c.height()));
    }
}

void SkinForm::UpdateCaptionActive(bool repaint)
{
    const bool a = IsActiveForDrawing();
    for (int i = 0; i < Objects.Count(); ++i) {
        auto* caption = dynamic_cast<SkinCaptionObject*>(Objects.At(i));
        if (!caption || caption->Hot == a)
            continue;
        caption->Hot = a;
        if (repaint) {
            if (caption->Morphing)
                StartMorphTimer();
        } else if (caption->Morphing) {
            caption->MorphAmount = a ? 1 : 0;
        }
        break;
    }
    if (repaint)
        SendNcPaint();
    if (a) {
        if (OnActivate)
            OnActivate();
    } else if (OnDeActivate) {
        OnDeActivate();
    }
}

void SkinForm::WalkSkinnedControls(QWidget* parent, SkinData* data, bool forget)
{
    // Depth first, a control before its children, in child order. Guarded: a control may
    // delete or replace children of its own while it takes the new skin.
    const QObjectList children = parent->children();
    for (QObject* child : children) {
        QPointer<QWidget> widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        if (auto* control = qobject_cast<SkinControl*>(widget)) {
            if (forget) {
                if (control->GetSkinData() == data)
                    control->ForgetSkinSection();
            } else if (!data || control->GetSkinData() == data) {
                control->ApplySkin();
            }
        } else if (auto* pages = qobject_cast<SkinPageControl*>(widget)) {
            if (!forget && (!data || pages->GetSkinData() == data))
                pages->ApplySkin();
        }
        if (widget)
            WalkSkinnedControls(widget, data, forget);
    }
}

void SkinForm::HandleSkinMessage(int message, SkinData* data)
{
    if (message == SKINMSG_BEFORE_CHANGE && data && data == skinData_) {
        SkinInUse = false;
        LeaveTimer->stop();
        MorphTimer->stop();
        AnimateTimer->stop();
        Objects.Clear();
        HotIndex = PrevHotIndex = PressedIndex = -1;
        WalkSkinnedControls(form_, data, true);
    } else if (message == SKINMSG_CHANGED) {
        if (data && data == skinData_)
            ApplyFrameSkin();
        WalkSkinnedControls(form_, data, false);
    } else if (message == SKINMSG_STRINGS_CHANGED) {
        AssignStandardHints();
    } else if (message == SKINMSG_MENU_CLOSED) {
        LeaveSkinMenuMode();
    }
}

// ---------------------------------------------------------------------------------------------
// Track sizes and window states

int SkinForm::MinTrackWidth() const
{
    if (SkinInUse) {
        const int w = pictures_.Picture().width();
        return MinWidth > w && frameState_ != FrameState::Minimized ? MinWidth : w;
    }
    return MinWidth > 0 ? MinWidth : 120;
}

int SkinForm::MinTrackHeight() const
{
    int h = DefaultFrame::CaptionHeight + 6;
    if (SkinInUse)
        h = pictures_.Picture().height() - skinData_->Info.clientrect.Height();
    if (MinHeight > h && !rolledUp_ && frameState_ != FrameState::Minimized)
        h = MinHeight;
    return h;
}

QSize SkinForm::MaxTrackSize() const
{
    const QRect area = MonitorWorkArea(form_, !MaximizeOnFullScreen);
    return area.isEmpty() ? QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) : area.size();
}

void SkinForm::ApplyTrackSizes()
{
    // The player's full screen lifts the window's limits while it lasts.
    if (NoBorder())
        return;
    form_->setMinimumSize(MinTrackWidth(), MinTrackHeight());
    const QSize max = MaxTrackSize();
    form_->setMaximumSize(std::max(max.width(), form_->width()), std::max(max.height(), form_->height()));
}

void SkinForm::SetFrameState(FrameState s)
{
    if (s == frameState_)
        return;
    if (!(s == FrameState::Minimized && MainForm))
        frameState_ = s;
    switch (s) {
    case FrameState::Maximized: {
        if (NormalBounds.isNull())
            NormalBounds = form_->geometry();
        const QRect whole = MonitorWorkArea(form_, false);
        QRect target = MaximizeOnFullScreen ? whole : MonitorWorkArea(form_, true);
        // Without a task bar on the monitor a pixel stays free all round, so the desktop's
        // own edge stays reachable.
        if (!MaximizeOnFullScreen && target == whole)
            target.adjust(1, 1, -1, -1);
        ApplyTrackSizes();
        form_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        form_->setGeometry(target);
        SyncSize();
        break;
    }
    case FrameState::Minimized:
        if (MainForm) {
            form_->showMinimized();
            return;
        }
        MinimizeOtherForm();
        break;
    case FrameState::Normal: {
        RolledUpMaximized = false;
        const QSize before = form_->size();
        if (!NormalBounds.isNull()) {
            ApplyTrackSizes();
            form_->setGeometry(NormalBounds);
            SyncSize();
        }
        LeaveTimer->start();
        if (form_->size() == before)
            NudgeWidth();
        form_->update();
        NormalBounds = QRect();
        break;
    }
    }
    ApplyTrackSizes();
    SendNcPaint();
}

void SkinForm::MinimizeOtherForm()
{
    if (NormalBounds.isNull())
        NormalBounds = form_->geometry();
    const int w = MinTrackWidth(), h = MinTrackHeight();
    const QRect area = MonitorWorkArea(form_, true);
    // The first free place in rows from the bottom-left corner of the work area upwards.
    std::vector<QPoint> taken;
    for (QObject* other : SkinMessageForms::Forms()) {
        auto* widget = qobject_cast<QWidget*>(other);
        if (!widget || widget == form_ || !widget->isVisible())
            continue;
        if (auto* frame = widget->findChild<SkinForm*>(QString(), Qt::FindDirectChildrenOnly);
            frame && !frame->MainForm && frame->GetFrameState() == FrameState::Minimized)
            taken.push_back(widget->pos());
    }
    QPoint place(area.left(), area.bottom() + 1 - h);
    while (std::find(taken.begin(), taken.end(), place) != taken.end()) {
        place.rx() += w;
        if (place.x() + w > area.right() + 1) {
            place = QPoint(area.left(), place.y() - h);
            if (place.y() < area.top()) {
                place = QPoint(area.left(), area.bottom() + 1 - h);
                break;
            }
        }
    }
    ApplyTrackSizes();
    form_->setGeometry(QRect(place, QSize(w, h)));
    SyncSize();
}

void SkinForm::SetRollUp(bool value)
{
    if (!borderIcons_.Has(BorderIcon::RollUp) || frameState_ == FrameState::Minimized)
        return;
    if (rolledUp_ && frameState_ == FrameState::Maximized && !RolledUpMaximized)
        return;
    if (frameState_ == FrameState::Maximized)
        RolledUpMaximized = value;
    rolledUp_ = value;
    if (value) {
        HeightBeforeRollUp = form_->height();
        ApplyTrackSizes();
        form_->resize(form_->width(), MinTrackHeight());
    } else {
        ApplyTrackSizes();
        form_->resize(form_->width(), HeightBeforeRollUp);
    }
    SyncSize();
    SendNcPaint();
    if (OnChangeRollUpState)
        OnChangeRollUpState();
}

void SkinForm::MinimizeToTray()
{
    // The program has no tray icon: there is no tray to go to.
}

void SkinForm::RestoreFromTray() {}

void SkinForm::CloseForm() { form_->close(); }

// ---------------------------------------------------------------------------------------------
// What objects ask

bool SkinForm::IsActiveForDrawing() const { return form_->isActiveWindow(); }

void SkinForm::StartMorphTimer()
{
    if (!MorphTimer->isActive())
        MorphTimer->start();
}

void SkinForm::StartAnimateTimer()
{
    if (!AnimateTimer->isActive())
        AnimateTimer->start();
}

QString SkinForm::FormCaption() const { return form_->windowTitle(); }

QImage SkinForm::SmallIcon()
{
    if (smallIcon_.isNull()) {
        int size = form_->style()->pixelMetric(QStyle::PM_SmallIconSize);
        if (size <= 0)
            size = DefaultFrame::ButtonSize;
        QIcon icon = form_->windowIcon();
        if (icon.isNull())
            icon = QApplication::windowIcon();
        if (icon.isNull())
            icon = form_->style()->standardIcon(QStyle::SP_DesktopIcon);
        smallIcon_ = icon.pixmap(size, size).toImage().scaled(size, size);
    }
    return smallIcon_;
}

const FormInfo* SkinForm::SkinFormInfo() const { return SkinInUse ? &skinData_->Info : nullptr; }

void SkinForm::TrackMenu(ActiveSkinObject& object, bool systemMenu)
{
    // Only the system menu is the frame's own; the program's buttons carry no other menu.
    if (!systemMenu)
        return;
    QMenu* menu = GetSystemMenuItems();
    if (!menu || menu->actions().isEmpty())
        return;
    const SkinRect& r = object.ObjectRect;
    const QPoint origin = form_->mapToGlobal(QPoint(r.left, r.top));
    bool upwards = false;
    if (auto* button = dynamic_cast<SkinButtonObject*>(&object))
        upwards = button->OpenUpwards;
    PopupSkinMenu(menu, QRect(origin, QSize(r.Width(), r.Height())), upwards);
}

// ---------------------------------------------------------------------------------------------
// Menus

QMenu* SkinForm::GetSystemMenuItems()
{
    BuildSystemMenu();
    return SystemMenu ? SystemMenu : DefaultSystemMenu;
}

void SkinForm::BuildSystemMenu()
{
    SystemMenu::State state;
    state.frameState = frameState_;
    state.rolledUp = rolledUp_;
    state.borderIcons = borderIcons_;
    const ResourceStrData* strings = skinData_ ? skinData_->GetResourceStrData() : nullptr;
    const auto items = SystemMenu::Items(state, strings);
    QMenu* menu = SystemMenu ? SystemMenu : DefaultSystemMenu;
    if (SystemMenu && !UseDefaultSysMenu)
        return;
    // The standard items are made anew each time, so each gets its one connection.
    SystemMenu::Fill(*menu, items, SystemMenu != nullptr);
    for (QAction* action : menu->actions()) {
        const std::string name = action->objectName().toStdString();
        if (SystemMenu::IsStandardName(name))
            connect(action, &QAction::triggered, this, [this, name] { RunSystemCommand(name); });
    }
}

void SkinForm::RunSystemCommand(const std::string& item)
{
    if (item == "SF_MINITEM") {
        if (alwaysMinimizeToTray_)
            MinimizeToTray();
        else
            SetFrameState(FrameState::Minimized);
    } else if (item == "SF_MAXITEM") {
        SetFrameState(FrameState::Maximized);
    } else if (item == "SF_RESTORE") {
        if (RolledUpMaximized || (rolledUp_ && frameState_ == FrameState::Normal))
            SetRollUp(false);
        else
            SetFrameState(FrameState::Normal);
    } else if (item == "SF_ROLLUP") {
        SetRollUp(true);
    } else if (item == "SF_MINTOTRAY") {
        MinimizeToTray();
    } else if (item == "SF_CLOSE") {
        CloseForm();
    }
}

void SkinForm::PopupSkinMenu(QMenu* menu, const QRect& anchor, bool openUpwards)
{
    // Skin menu mode first: keys go to the menu from the moment it shows.
    if (!KeyboardMenuLoop)
        menuMode_->Enter();
    if (!SkinMenuOpen) {
        SkinMenuOpen = true;
        if (OnSkinMenuOpen)
            OnSkinMenuOpen();
    }
    SkinData* skin = MenusSkinData ? MenusSkinData : skinData_.data();
    Menu->SetSkin(skin, skin == skinData_.data() ? pictures_ : SkinPictures(*skin));
    Menu->UseSkinFont = UseSkinFontInMenu;
    if (DefMenuItemHeight > 0)
        Menu->DefaultItemHeight = DefMenuItemHeight;
    Menu->DefaultItemFont = DefMenuItemFont;
    Menu->AlphaBlend = MenusAlphaBlend;
    Menu->AlphaBlendAnimation = MenusAlphaBlendAnimation;
    Menu->AlphaBlendValue = MenusAlphaBlendValue;
    Menu->ShowMenu(nullptr, menu, anchor, openUpwards, 0);
    if (!Menu->MenuOpen)
        LeaveSkinMenuMode();
}

void SkinForm::PopupSystemMenu(const QPoint& screenPoint)
{
    QMenu* menu = GetSystemMenuItems();
    if (menu)
        PopupSkinMenu(menu, QRect(screenPoint, QSize(0, 0)), false);
}

bool SkinForm::InSkinMenuMode() const { return menuMode_->Active(); }

void SkinForm::LeaveSkinMenuMode()
{
    SkinMenuOpen = false;
    // A button that opened the menu comes up again.
    for (int i = 0; i < Objects.Count(); ++i)
        if (auto* button = dynamic_cast<SkinButtonObject*>(Objects.At(i)); button && button->HasMenu && button->Down) {
            button->HasMenu = false;
            button->SetDown(false);
            break;
        }
    menuMode_->Leave();
    if (OnSkinMenuClose)
        OnSkinMenuClose();
    KeyboardMenuLoop = false;
}

void SkinForm::FireMouseDown(const std::string& id, int x, int y, const SkinRect& rect, Qt::MouseButton button)
{
    if (OnMouseDownEvent)
        OnMouseDownEvent(id, x, y, rect, button);
}

void SkinForm::FireMouseUp(const std::string& id, int x, int y, const SkinRect& rect, Qt::MouseButton button)
{
    if (OnMouseUpEvent)
        OnMouseUpEvent(id, x, y, rect, button);
}

void SkinForm::FireMouseMove(const std::string& id, int x, int y, const SkinRect& rect)
{
    if (OnMouseMoveEvent)
        OnMouseMoveEvent(id, x, y, rect);
}

void SkinForm::FireMouseEnter(const std::string& id)
{
    if (OnMouseEnterEvent)
        OnMouseEnterEvent(id);
}

void SkinForm::FireMouseLeave(const std::string& id)
{
    if (OnMouseLeaveEvent)
        OnMouseLeaveEvent(id);
}

void SkinForm::FirePaint(const std::string& id, QPainter& canvas, const SkinRect& rect)
{
    if (OnPaintEvent)
        OnPaintEvent(id, canvas, rect);
}

// ---------------------------------------------------------------------------------------------
// Input

HitTestState SkinForm::HitState(int x, int y) const
{
    HitTestState st;
    st.width = form_->width();
    st.height = form_->height();
    st.sizeable = Sizeable;
    st.maximized = frameState_ == FrameState::Maximized;
    st.minimized = frameState_ == FrameState::Minimized || form_->isMinimized();
    st.rolledUp = rolledUp_;
    st.objectHot = HotIndex != -1;
    st.inSizeMove = InSizeMove;
    st.inCaption = Objects.PointOnCaption(x, y);
    return st;
}

int SkinForm::SkinnedHitTest(int x, int y)
{
    return quorvel::SkinnedHitTest(x, y, HitState(x, y), Geometry, skinData_->Info.borderwidth,
                                   !pictures_.Mask().isNull(), Strips);
}

int SkinForm::DefaultHitTest(int x, int y)
{
    return quorvel::DefaultHitTest(x, y, HitState(x, y), DefaultCaptionTextRect(), DefaultFrame::CaptionHeight);
}

int SkinForm::HitTest(int x, int y)
{
    if (NoBorder())
        return HTCLIENT;
    return SkinInUse ? SkinnedHitTest(x, y) : DefaultHitTest(x, y);
}

void SkinForm::HoverTracking(int x, int y, bool inside)
{
    if (Objects.Empty() || !IsActiveForDrawing())
        return;
    PrevHotIndex = HotIndex;
    int hot = -1;
    if (inside) {
        for (int i = 0; i < Objects.Count(); ++i) {
            const ActiveSkinObject* o = Objects.At(i);
            if (o->Enabled && o->Visible && PointHitsRect(x, y, o->ObjectRect)) {
                hot = i;
                break;
            }
        }
    }
    // While an object holds the press no other becomes hot.
    if (PressedIndex != -1 && hot != PressedIndex)
        hot = -1;
    if (hot >= Objects.Count())
        hot = -1;
    if (PrevHotIndex >= Objects.Count())
        PrevHotIndex = -1;
    HotIndex = hot;
    if (HotIndex == PrevHotIndex)
        return;
    if (ActiveSkinObject* old = Objects.At(PrevHotIndex); old && old->Enabled && old->Visible)
        old->HandleMouseLeave();
    if (ActiveSkinObject* now = Objects.At(HotIndex); now && now->Enabled && now->Visible)
        now->HandleMouseEnter();
}

void SkinForm::Press(Qt::MouseButton button, int x, int y)
{
    ActiveSkinObject* hot = Objects.At(HotIndex);
    if (!hot)
        return;
    // The window keeps the pointer until the release (Qt grabs it for the pressed widget).
    PressedIndex = HotIndex;
    hot->HandleMouseDown(x, y, button);
}

void SkinForm::Release(Qt::MouseButton button, int x, int y)
{
    ActiveSkinObject* pressed = Objects.At(PressedIndex);
    if (!pressed) {
        PressedIndex = -1;
        return;
    }
    PressedIndex = -1;
    // A release reaches a pressed button through the pointer grab, away from any place.
    if (!dynamic_cast<SkinCaptionObject*>(pressed)) {
        x = -1;
        y = -1;
    }
    pressed->HandleMouseUp(x, y, button);
}

void SkinForm::CaptionDoubleClick()
{
    const bool maximized = frameState_ == FrameState::Maximized;
    if (Sizeable && frameState_ == FrameState::Minimized)
        SetFrameState(FrameState::Normal);
    else if (Sizeable && !maximized && !rolledUp_ && borderIcons_.Has(BorderIcon::Maximize))
        SetFrameState(FrameState::Maximized);
    else if (Sizeable && maximized && !RolledUpMaximized)
        SetFrameState(FrameState::Normal);
    else
        SetRollUp(!rolledUp_);
}

void SkinForm::LeaveTimerTick()
{
    if (!IsActiveForDrawing())
        return;
    if (InSizeMove) {
        LeaveTimer->stop();
        return;
    }
    const QPoint p = form_->mapFromGlobal(QCursor::pos());
    const QRect client = client_->geometry();
    if (!client.contains(p))
        HoverTracking(p.x(), p.y(), form_->rect().contains(p));
    else if (HotIndex != -1)
        HoverTracking(-1, -1, false);
}

void SkinForm::MorphTimerTick()
{
    if (!Objects.MorphTick())
        MorphTimer->stop();
}

void SkinForm::AnimateTimerTick()
{
    if (!Objects.AnimateTick())
        AnimateTimer->stop();
}

void SkinForm::EnterSizeMove()
{
    ResetHoverState();
    LeaveTimer->stop();
    HotIndex = PressedIndex = -1;
    InSizeMove = true;
}

void SkinForm::ExitSizeMove()
{
    LeaveTimer->stop();
    HotIndex = PrevHotIndex = PressedIndex = -1;
    // The press that began the move ends with it.
    InSizeMove = false;
    if (SkinInUse)
        SendNcPaint();
}

bool SkinForm::HandleMouse(QEvent* event)
{
    auto* e = static_cast<QMouseEvent*>(event);
    const QPoint p = e->position().toPoint();
    const QPoint screen = e->globalPosition().toPoint();
    switch (event->type()) {
    case QEvent::MouseMove: {
        if (captionPressed_ && (e->buttons() & Qt::LeftButton)) {
            if (!InSizeMove && (screen - pressScreenPos_).manhattanLength() >= QApplication::startDragDistance()) {
                EnterSizeMove();
                QWindow* window = form_->windowHandle();
                movingByHand_ = !(window && window->startSystemMove());
                if (!movingByHand_) {
                    // The window manager moves the window from here on.
                    captionPressed_ = false;
                    ExitSizeMove();
                }
            }
            if (movingByHand_) {
                QPoint to = pressWindowPos_ + (screen - pressScreenPos_);
                if (Magnetic) {
                    const QRect area = MonitorWorkArea(form_, true);
                    const int m = MagneticSize, w = form_->width(), h = form_->height();
                    if (std::abs(to.x() - area.left()) < m)
                        to.setX(area.left());
                    if (std::abs(to.y() - area.top()) < m)
                        to.setY(area.top());
                    if (std::abs(to.x() + w - (area.right() + 1)) < m)
                        to.setX(area.right() + 1 - w);
                    if (std::abs(to.y() + h - (area.bottom() + 1)) < m)
                        to.setY(area.bottom() + 1 - h);
                }
                form_->move(to);
            }
            return true;
        }
        const int hit = HitTest(p.x(), p.y());
        if (hit == HTOBJECT && !LeaveTimer->isActive()) {
            HoverTracking(p.x(), p.y(), true);
            LeaveTimer->start();
        }
        if (ActiveSkinObject* o = Objects.At(PressedIndex != -1 ? PressedIndex : HotIndex))
            o->HandleMouseMove(p.x(), p.y());
        // Edges of a sizeable frame show the sizing cursors.
        switch (hit) {
        case HTLEFT:
        case HTRIGHT: form_->setCursor(Qt::SizeHorCursor); break;
        case HTTOP:
        case HTBOTTOM: form_->setCursor(Qt::SizeVerCursor); break;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT: form_->setCursor(Qt::SizeFDiagCursor); break;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT: form_->setCursor(Qt::SizeBDiagCursor); break;
        default: form_->unsetCursor(); break;
        }
        return true;
    }
    case QEvent::MouseButtonPress: {
        const int hit = HitTest(p.x(), p.y());
        const Qt::MouseButton button = e->button();
        if (button == Qt::LeftButton) {
            if (InSizeMove) {
                InSizeMove = false;
                return true;
            }
            HoverTracking(p.x(), p.y(), true);
            Press(button, p.x(), p.y());
            if (hit == HTCAPTION) {
                PressedIndex = -1;
                // A drag from here moves the window; a maximized window stays where it is.
                captionPressed_ = frameState_ != FrameState::Maximized;
                movingByHand_ = false;
                pressScreenPos_ = screen;
                pressWindowPos_ = form_->pos();
            } else if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) {
                static const Qt::Edges edges[] = {Qt::LeftEdge, Qt::RightEdge, Qt::TopEdge,
                                                  Qt::TopEdge | Qt::LeftEdge, Qt::TopEdge | Qt::RightEdge,
                                                  Qt::BottomEdge, Qt::BottomEdge | Qt::LeftEdge,
                                                  Qt::BottomEdge | Qt::RightEdge};
                if (QWindow* window = form_->windowHandle())
                    window->startSystemResize(edges[hit - HTLEFT]);
            }
        } else if (button == Qt::RightButton) {
            HoverTracking(p.x(), p.y(), true);
            Press(button, p.x(), p.y());
            if (hit == HTCAPTION) {
                PressedIndex = -1;
                PopupSystemMenu(screen);
            }
        }
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (e->button() == Qt::LeftButton && captionPressed_) {
            captionPressed_ = false;
            if (movingByHand_) {
                movingByHand_ = false;
                ExitSizeMove();
            }
        }
        Release(e->button(), p.x(), p.y());
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        const int hit = HitTest(p.x(), p.y());
        HoverTracking(p.x(), p.y(), true);
        Press(e->button(), p.x(), p.y());
        if (e->button() == Qt::LeftButton) {
            if (ActiveSkinObject* hot = Objects.At(HotIndex))
                hot->HandleDoubleClick();
            if (hit == HTCAPTION) {
                captionPressed_ = false;
                CaptionDoubleClick();
                PressedIndex = -1;
            }
        } else if (hit == HTCAPTION) {
            PressedIndex = -1;
        }
        return true;
    }
    default: return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Events of the form

void SkinForm::HandleSize()
{
    FrameWidth = form_->width();
    FrameHeight = form_->height();
    PlaceClientArea();
    if (!SkinInUse)
        SendNcPaint();
    else if (skinData_ && FrameWidth >= MinTrackWidth() && FrameHeight >= MinTrackHeight())
        RebuildFrame();
    else
        BuildFrameRegion();
    if (AlphaBlend && AlphaBlendValue != 255)
        form_->update();
    if (!LogoBitMap.isNull())
        client_->update();
}

void SkinForm::HandleShow()
{
    if (AlphaBlend || AlphaBlendAnimation) {
        // Faded in from clear to its opacity, as soon as the window is on screen.
        SetWindowTransparency(form_, 0);
        QTimer::singleShot(1, this, [this] {
            const int target = AlphaBlendAnimation && !AlphaBlend ? 255 : AlphaBlendValue;
            if (AlphaBlendAnimation) {
                QCoreApplication::processEvents();
                for (int a = 5; a < target; a += 5)
                    SetWindowTransparency(form_, a);
            }
            SetWindowTransparency(form_, target);
        });
    }
    ApplyTrackSizes();
    NudgeWidth();
}

void SkinForm::HandleActivation(bool active)
{
    // As the window system tells it: first the frame's activation, then the window's.
    FormActive = active;
    UpdateCaptionActive(true);
    ResetHoverState();
    UpdateCaptionActive(true);
}

void SkinForm::HandleWindowState()
{
    // Full screen has no frame and no outline; back from it, both return.
    if (NoBorder()) {
        ApplyRegion(nullptr);
        PlaceClientArea();
        return;
    }
    HandleSize();
}

bool SkinForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != form_)
        return QObject::eventFilter(watched, event);
    if (event->type() == SkinMessageEvent::EventType()) {
        auto* m = static_cast<SkinMessageEvent*>(event);
        HandleSkinMessage(m->Message, m->Data);
        return false;
    }
    switch (event->type()) {
    case QEvent::Resize: HandleSize(); break;
    case QEvent::Show: HandleShow(); break;
    case QEvent::WindowActivate: HandleActivation(true); break;
    case QEvent::WindowDeactivate: HandleActivation(false); break;
    case QEvent::WindowTitleChange: SendNcPaint(); break;
    case QEvent::WindowStateChange: HandleWindowState(); break;
    case QEvent::Hide:
        LeaveTimer->stop();
        break;
    case QEvent::Paint: {
        if (NoBorder())
            return true;
        QPainter painter(form_);
        if (SkinInUse)
            PaintSkinnedFrame(painter);
        else
            PaintDefaultFrame(painter);
        return true;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: return HandleMouse(event);
    default: break;
    }
    return false;
}

} // namespace quorvel
