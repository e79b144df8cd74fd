#include "trim_sheet.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <algorithm>

#include "edit_rules.h"
#include "edit_sheet.h"
#include "fixed_field.h"
#include "image_button.h"
#include "message_box.h"
#include "named_widget.h"
#include "skin_slider.h"

namespace {

QTimeEdit* makeTimeField(QWidget* parent, const char* name)
{
    auto* field = makeNamed<QTimeEdit>(parent, name);
    field->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    field->setButtonSymbols(QAbstractSpinBox::NoButtons);
    field->setAlignment(Qt::AlignCenter);
    return field;
}

void showClock(QTimeEdit* field, int seconds)
{
    field->setTime(QTime(0, 0).addSecs(seconds));
}

int clockSeconds(const QTimeEdit* field)
{
    const QTime time = field->time();
    return editrules::secondsOfClock(time.hour(), time.minute(), time.second());
}

} // namespace

TrimSheet::TrimSheet(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TrimSheet"));
    editsheet::makeLabels(this, {"start", "end", "total"});
    startTime_ = makeTimeField(this, "StartTime");
    endTime_ = makeTimeField(this, "EndTime");
    totalTime_ = makeTimeField(this, "TotalTime");
    totalTime_->setReadOnly(true);
    startTimeOk_ = makeNamed<ImageButton>(this, "start_trimtime_ok");
    endTimeOk_ = makeNamed<ImageButton>(this, "end_trimtime_ok");
    startTrackBar_ = editsheet::makeSlider(this, "StartTrackBar", 0, 0);
    endTrackBar_ = editsheet::makeSlider(this, "EndTrackBar", 0, 0);
    trimReset_ = makeNamed<ImageButton>(this, "Trim_reset_img");
    connectControls();
}

void TrimSheet::connectControls()
{
    connect(startTrackBar_, &QSlider::valueChanged, this, &TrimSheet::startSliderMoved);
    connect(endTrackBar_, &QSlider::valueChanged, this, &TrimSheet::endSliderMoved);
    for (bool start : {true, false}) {
        connect(start ? startTimeOk_ : endTimeOk_, &ImageButton::clicked, this, [this, start] { confirmTyped(start); });
        connect(start ? startTime_ : endTime_, &QTimeEdit::editingFinished, this, [this, start] { confirmTyped(start); });
    }
    for (QTimeEdit* field : {startTime_, endTime_})
        field->installEventFilter(this);
    connect(trimReset_, &ImageButton::clicked, this, &TrimSheet::reset);
}

void TrimSheet::setDuration(int seconds)
{
    for (SkinSlider* slider : {startTrackBar_, endTrackBar_}) {
        const QSignalBlocker blocker(slider);
        slider->setMaximum(seconds);
    }
}

void TrimSheet::load(NodeSettingInfo& job)
{
    job_ = &job;
    trimStart_ = job.trim.start;
    trimEnd_ = job.trim.end;
    refreshStart();
    refreshEnd();
    startTrackBar_->setValue(trimStart_);
    endTrackBar_->setValue(trimEnd_);
}

void TrimSheet::write() const
{
    job_->trim.start = trimStart_;
    job_->trim.end = trimEnd_;
    if (job_->owner) {
        copyCut(job_->owner->display.trimmedLength, editrules::formatClock(std::max(0, trimEnd_ - trimStart_)));
    }
}

void TrimSheet::reset()
{
    trimStart_ = 0;
    trimEnd_ = editsheet::durationSeconds(job_);
    job_->trim = {trimStart_, trimEnd_};
    endTrackBar_->setValue(trimEnd_);
    startTrackBar_->setValue(trimStart_);
    refreshStart();
    refreshEnd();
    write();
}

void TrimSheet::startAt(int seconds)
{
    trimStart_ = seconds;
    startTrackBar_->setValue(trimStart_);
}

void TrimSheet::endAt(int seconds)
{
    trimEnd_ = seconds;
    endTrackBar_->setValue(trimEnd_);
}

void TrimSheet::loadBarPictures(const QString& bar)
{
    startTrackBar_->loadBar(bar);
    endTrackBar_->loadBar(bar);
}

void TrimSheet::startSliderMoved(int position)
{
    trimStart_ = position;
    const int place = editrules::startSliderPlace(position, trimEnd_);
    if (place == position) {
        refreshStart();
    } else {
        startTrackBar_->setValue(place);
    }
}

void TrimSheet::endSliderMoved(int position)
{
    trimEnd_ = position;
    const int place = editrules::endSliderPlace(position, trimStart_);
    if (place == position) {
        refreshEnd();
    } else {
        endTrackBar_->setValue(place);
    }
}

void TrimSheet::refreshStart()
{
    showClock(startTime_, trimStart_);
    refreshTotal();
}

void TrimSheet::refreshEnd()
{
    showClock(endTime_, trimEnd_);
    refreshTotal();
}

void TrimSheet::refreshTotal()
{
    showClock(totalTime_, std::max(0, trimEnd_ - trimStart_));
}

void TrimSheet::confirmTyped(bool start)
{
    QTimeEdit* field = start ? startTime_ : endTime_;
    SkinSlider* slider = start ? startTrackBar_ : endTrackBar_;
    const int seconds = clockSeconds(field);
    // The start stays before the end; a refused time goes back to its slider's.
    const bool fits = start ? seconds < trimEnd_ : trimStart_ < seconds;
    (start ? trimStart_ : trimEnd_) = fits ? seconds : slider->value();
    if (fits)
        slider->setValue(seconds);
    if (start)
        refreshStart();
    else
        refreshEnd();
    if (!fits)
        showPlainMessage(window(), start ? QStringLiteral("Start time error") : QStringLiteral("End time error"));
}

bool TrimSheet::eventFilter(QObject* watched, QEvent* event)
{
    // Enter applies the typed time (as leaving the field does) and leaves the window open.
    const bool timeField = watched == startTime_ || watched == endTime_;
    if (!timeField || event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    confirmTyped(watched == startTime_);
    return true;
}
