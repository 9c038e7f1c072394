#include "frame/platform/scripted_platform_p.h"

#include <QApplication>
#include <QWidget>

namespace korva {

ScriptedPlatform::ScriptedPlatform() = default;

ScriptedPlatform::~ScriptedPlatform() {
    if (&Platform::instance() == this)
        Platform::install(nullptr);
}

void ScriptedPlatform::installed(bool on) { Platform::install(on ? this : nullptr); }

uint32_t ScriptedPlatform::tickCount() const {
    const uint32_t now = tick_;
    tick_ += tickStep_;
    return now;
}

namespace {
ScriptedPlatform::TimerDriver& timerDriver() {
    static ScriptedPlatform::TimerDriver driver = nullptr;
    return driver;
}
} // namespace

void ScriptedPlatform::setTimerDriver(TimerDriver driver) { timerDriver() = driver; }

void ScriptedPlatform::advance(uint32_t ms) {
    const auto clock = [this](uint32_t step) { tick_ += step; };
    if (TimerDriver drive = timerDriver())
        drive(ms, clock);
    else
        clock(ms);
}

void ScriptedPlatform::placeWindow(const QWidget* w, const QPoint& topLeft) {
    for (auto& [win, pos] : placed_)
        if (win == w) {
            pos = topLeft;
            return;
        }
    placed_.emplace_back(w, topLeft);
}

WindowRect ScriptedPlatform::windowRect(const QWidget* w) const {
    if (!w)
        return {};
    // A child window sits where its top-level is placed, plus its offset inside
    // it. A top-level window nobody placed sits where Qt put it: a control
    // that moves its own drop-down panel finds it there.
    const QWidget* top = w->window();
    QPoint origin = top->pos();
    for (const auto& [win, pos] : placed_)
        if (win == top || win == w) {
            origin = pos;
            if (win == w)
                return {pos.x(), pos.y(), pos.x() + w->width(), pos.y() + w->height()};
        }
    const QPoint inTop = w->mapTo(top, QPoint(0, 0));
    const QPoint tl = origin + inTop;
    return {tl.x(), tl.y(), tl.x() + w->width(), tl.y() + w->height()};
}

void ScriptedPlatform::setCursor(QWidget* w, CursorShape shape) {
    lastCursor_ = shape;
    ++cursorSets_;
    Platform::setCursor(w, shape);
}

void ScriptedPlatform::activateWindow(QWidget* w) {
    if (!w)
        return;
    w->activateWindow();
    QApplication::setActiveWindow(w->window());
}

void ScriptedPlatform::sendShiftTab(QWidget* from) {
    ++shiftTabs_;
    Platform::sendShiftTab(from);
}

bool ScriptedPlatform::chooseColour(QWidget*, uint32_t initial, uint32_t& chosen) {
    ++colourDialogs_;
    lastDialogStart_ = initial;
    if (colourAnswers_.empty())
        return false;
    const std::optional<uint32_t> answer = colourAnswers_.front();
    colourAnswers_.pop_front();
    if (!answer)
        return false;
    chosen = *answer & 0x00FFFFFFu;
    return true;
}

} // namespace korva
