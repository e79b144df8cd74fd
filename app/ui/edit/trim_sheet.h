// The edit window's trim sheet: the start and end of the part of the source to convert, as
// sliders and as typed clock times, and the resulting length.
#pragma once

#include <QWidget>

#include "job_rows.h"

class ImageButton;
class QTimeEdit;
class SkinSlider;

class TrimSheet : public QWidget {
public:
    explicit TrimSheet(QWidget* parent);

    // The sliders' range: the job's whole seconds (no signals).
    void setDuration(int seconds);
    // Shows job's trim (the window keeps the job until it closes).
    void load(NodeSettingInfo& job);
    // Writes the trim into the job, and its length into the row's column text.
    void write() const;
    // The whole file, written at once.
    void reset();
    // The window's trim buttons: the start or the end at the preview's position.
    void startAt(int seconds);
    void endAt(int seconds);
    void loadBarPictures(const QString& bar);

    SkinSlider* startSlider() const { return startTrackBar_; }
    SkinSlider* endSlider() const { return endTrackBar_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectControls();
    void startSliderMoved(int position);
    void endSliderMoved(int position);
    void refreshStart();
    void refreshEnd();
    void refreshTotal();
    // The typed start (or end) time, applied when it keeps the start before the end.
    void confirmTyped(bool start);

    QTimeEdit* startTime_ = nullptr;
    QTimeEdit* endTime_ = nullptr;
    QTimeEdit* totalTime_ = nullptr;
    ImageButton* startTimeOk_ = nullptr;
    ImageButton* endTimeOk_ = nullptr;
    SkinSlider* startTrackBar_ = nullptr;
    SkinSlider* endTrackBar_ = nullptr;
    ImageButton* trimReset_ = nullptr;

    NodeSettingInfo* job_ = nullptr; // not owned
    int trimStart_ = 0;
    int trimEnd_ = 0;
};
