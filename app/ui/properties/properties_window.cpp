#include "properties_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "i18n_binding.h"
#include "image_button.h"
#include "job_rows.h"
#include "named_widget.h"
#include "picture_box.h"

#include <algorithm>

namespace {

const struct {
    const char* label;
    const char* id;
    const char* field;
} kRows[] = {{"name", "04055", "Text_N"},          {"length", "04056", "Text_L"},
             {"resolution", "04010", "Text_R"},    {"video_bitrate", "04013", "Text_vb"},
             {"frame", "04011", "Text_F"},         {"sample", "04014", "Text_S"},
             {"channel", "04015", "Text_C"},       {"audio_bitrate", "04017", "Text_AB"}};

// "Audio 2: deu, Deutsch (aac, 48000 Hz, 2 channels, default)", the kind in the window's language.
QString streamLine(const MediaStreamInfo& stream)
{
    const char* const kinds[] = {"10064", "10065", "10066"};
    const int32_t kind = std::clamp<int32_t>(stream.kind, VKO_STREAM_AUDIO, VKO_STREAM_ATTACHMENT) - VKO_STREAM_AUDIO;
    QString name = QString::fromUtf8(getI18nText(kinds[static_cast<size_t>(kind)]));
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    const StreamWords words{getI18nText("10067"), getI18nText("10068"), getI18nText("10069")};
    return name + QLatin1Char(' ') + QString::fromStdString(trackLabel(stream)) + QStringLiteral(" (") +
           QString::fromStdString(streamDetails(stream, words)) + QLatin1Char(')');
}

QString kilobits(int32_t bitsPerSecond)
{
    return QString::number(bitsPerSecond / 1000) + QStringLiteral(" kbps");
}

} // namespace

TfrmPro::TfrmPro() : SkinWindow({"pro", "property/", QSize(368, 33)})
{
    setObjectName(QStringLiteral("TfrmPro"));
    auto* background = makeNamed<PictureBox>(this, "BG_img");
    auto* close = makeNamed<ImageButton>(this, "close");
    auto* ok = makeNamed<ImageButton>(this, "ok_pro");
    for (size_t i = 0; i < fields_.size(); ++i) {
        bindI18nRows(makeNamed<QLabel>(this, kRows[i].label), {{"Caption", kRows[i].id}});
        fields_[i] = makeNamed<QLineEdit>(this, kRows[i].field);
        fields_[i]->setReadOnly(true);
    }
    bindI18nRows(makeNamed<QLabel>(this, "streams"), {{"Caption", "04090"}});
    streams_ = makeNamed<QListWidget>(this, "List_streams");
    streams_->setSelectionMode(QAbstractItemView::NoSelection);
    bindI18nRows(ok, {{"Caption", "00036"}, {"Hint", "00037"}});
    createFromSkin();
    setDragBackground(background);
    connect(close, &ImageButton::clicked, this, &TfrmPro::close);
    connect(ok, &ImageButton::clicked, this, &TfrmPro::close);
    setDialogButtons(ok, nullptr);
}

void TfrmPro::showProperties(const NodeData& row)
{
    const MediaFileInfo& info = row.fileInfo;
    fields_[Name]->setText(QString::fromUtf8(row.settings.outputName));
    fields_[Length]->setText(QString::fromLatin1(row.display.originalLength));
    fields_[Resolution]->setText(QStringLiteral("%1x%2").arg(info.width).arg(info.height));
    fields_[VideoBitrate]->setText(kilobits(info.videoBitrate));
    fields_[FrameRate]->setText(QString::asprintf("%.2f fps", static_cast<double>(info.videoFrameRate)));
    fields_[SampleRate]->setText(QString::number(info.audioSampleRate) + QStringLiteral(" Hz"));
    fields_[Channels]->setText(QString::number(info.audioChannels) + QStringLiteral(" Channel"));
    fields_[AudioBitrate]->setText(kilobits(info.audioBitrate));
    for (QLineEdit* text : fields_)
        text->setCursorPosition(0);
    streams_->clear();
    for (const MediaStreamInfo& stream : row.streams)
        streams_->addItem(streamLine(stream));
    setWindowModality(Qt::ApplicationModal);
    show();
}

void TfrmPro::hideEvent(QHideEvent* event)
{
    SkinWindow::hideEvent(event);
    emit closed();
}
