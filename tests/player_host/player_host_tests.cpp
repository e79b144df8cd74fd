// The player host: pictures from other threads arrive as queued events, the latest one is painted
// scaled into the host on the background, and a dragged rectangle becomes the player's crop.
#include "app_test_support.h"
#include "player_host.h"
#include "vkoPlayerDll.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

std::vector<uint8_t> solidPicture(int width, int height, uint32_t colour)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < pixels.size(); i += 4)
        std::memcpy(pixels.data() + i, &colour, 4);
    return pixels;
}

class PlayerHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        panel.resize(200, 100);
        host.placeInto(&panel);
        panel.show();
    }
    void TearDown() override { close_sdl(); }

    QApplication& application = apptest::application(); // before any widget
    QWidget panel;
    TfrmPlayer host;
};

TEST_F(PlayerHost, PicturesFromAnotherThreadArriveQueuedAndTheLatestIsPaintedOnTheBackground)
{
    testsupport::TempDir dir;
    const QString idle = QString::fromStdString(dir.path("Default.bmp"));
    const QString background = QString::fromStdString(dir.path("bj.bmp"));
    apptest::writeBitmap(idle, 20, 20, 0x00FF00);
    apptest::writeBitmap(background, 8, 8, 0x0000FF);
    ASSERT_EQ(initPlayOption(idle.toUtf8().constData(), background.toUtf8().constData(), 0, 0, 200, 100), 0);

    std::thread player([this] {
        for (uint32_t red = 1; red <= 200; ++red) {
            std::vector<uint8_t> pixels = solidPicture(40, 40, 0xFF000000u | (red << 16));
            TfrmPlayer::receivePicture(&host, pixels.data(), 40, 40);
        }
    });
    player.join();
    EXPECT_TRUE(host.picture().isNull()) << "the sink painted on the player's thread";
    QCoreApplication::processEvents();
    ASSERT_EQ(host.picture().size(), QSize(40, 40));
    EXPECT_EQ(qRed(host.picture().pixel(5, 5)), 200) << "not the latest picture";

    const QImage painted = host.grab().toImage();
    EXPECT_EQ(host.pictureRect(), QRect(50, 0, 100, 100));
    EXPECT_EQ(painted.pixelColor(100, 50), QColor(200, 0, 0));
    EXPECT_EQ(painted.pixelColor(20, 50), QColor(0, 0, 255)) << "no bj.bmp around the picture";

    TfrmPlayer::receivePicture(&host, nullptr, 0, 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(host.picture().isNull());
    EXPECT_EQ(host.grab().toImage().pixelColor(100, 50), QColor(0, 255, 0)) << "no idle picture";
}

std::vector<std::array<int, 4>> reportedCrops;
void recordCrop(int32_t top, int32_t bottom, int32_t left, int32_t right)
{
    reportedCrops.push_back({top, bottom, left, right});
}
PlayCropCallback cropSlot = recordCrop;

TEST_F(PlayerHost, ADraggedRectangleIsHandedToThePlayerInSourcePixels)
{
    testsupport::TempDir dir;
    const std::string clip = testsupport::makeClip(
        dir, {.name = "clip.mp4", .seconds = 2, .audio = false, .width = 192, .height = 48, .videoCodec = "libx264"});
    panel.resize(384, 96);
    host.resize(384, 96);
    setCropHandle(&cropSlot);
    ASSERT_EQ(openFile(clip.c_str()), 0);
    ASSERT_EQ(startPlay(0), 0);
    for (int i = 0; i < 200 && host.picture().isNull(); ++i) {
        QTest::qWait(10);
    }
    ASSERT_EQ(host.picture().size(), QSize(192, 48));
    ASSERT_EQ(pausePlay(), 0);

    QTest::mousePress(&host, Qt::LeftButton, {}, QPoint(32, 16));
    QTest::mouseMove(&host, QPoint(352, 80));
    QTest::mouseRelease(&host, Qt::LeftButton, {}, QPoint(352, 80));
    EXPECT_TRUE(reportedCrops.empty()) << "the drag cropped while not enabled";

    host.setCropDragEnabled(true);
    QTest::mousePress(&host, Qt::LeftButton, {}, QPoint(32, 16));
    QTest::mouseMove(&host, QPoint(352, 80));
    QTest::mouseRelease(&host, Qt::LeftButton, {}, QPoint(352, 80));
    ASSERT_EQ(reportedCrops.size(), 1u);
    EXPECT_EQ(reportedCrops[0], (std::array<int, 4>{8, 8, 16, 16}));
    QTest::qWait(50);
    EXPECT_EQ(host.picture().size(), QSize(160, 32));
    setCropHandle(nullptr);
    for (auto margin : {upCropFlim, bottomCropFlim, leftCropFlim, rightCropFlim})
        margin(0);
}

} // namespace
