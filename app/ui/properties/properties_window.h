// The file properties window: name, length, picture size, rates and channels of a job's source, and
// every audio, subtitle and attachment stream it has.
#pragma once

#include <array>

#include "skin_window.h"

class QLineEdit;
class QListWidget;
struct NodeData;

class TfrmPro : public SkinWindow {
    Q_OBJECT
public:
    TfrmPro();

    // Fills the fields from the row and shows the window modally (no nested event loop).
    void showProperties(const NodeData& row);

    // The fields in the order name, length, resolution, video bit rate, frame rate, sample rate,
    // channels, audio bit rate.
    enum Field { Name, Length, Resolution, VideoBitrate, FrameRate, SampleRate, Channels, AudioBitrate, FieldCount };
    QLineEdit* field(Field which) const { return fields_[which]; }
    // One line per stream of the source, "Audio 2: deu, Deutsch (aac, 48000 Hz, 2 channels)".
    QListWidget* streamList() const { return streams_; }

signals:
    void closed();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    std::array<QLineEdit*, FieldCount> fields_{};
    QListWidget* streams_ = nullptr;
};
