// Movies whose header holds values no real movie has (a stage of a billion pixels or of none,
// a frame count that does not match the frames, a length far over the limit), met by an
// experiment window: each is refused with the player's message, or it is shown and played to
// the last frame the window waits for. Nothing crashes, and the window is never left waiting.

#include <gtest/gtest.h>

#include <QImage>

#include "BadInput.h"
#include "TestSupport.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "experiments/catalyst/CatalystWindow.h"
#include "movie/MoviePlayer.h"

namespace {

const QString refusedMessage = QStringLiteral(
    "Возможно отсутствуют необходимые файлы для дальнейшей работы программы. Выполнение программы "
    "будет остановлено!!!");

// Bits written most significant first, as the movie format packs a RECT.
class BitWriter {
public:
    void put(std::uint32_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i) bits_.push_back((value >> i) & 1);
    }
    QByteArray bytes() const {
        QByteArray out;
        for (std::size_t i = 0; i < bits_.size(); i += 8) {
            int byte = 0;
            for (std::size_t j = 0; j < 8; ++j)
                byte = (byte << 1) | (i + j < bits_.size() ? bits_[i + j] : 0);
            out.append(char(byte));
        }
        return out;
    }

private:
    std::vector<int> bits_;
};

struct Header {
    const char* name;
    int nbits;  // of the stage RECT
    std::uint32_t xmin, xmax, ymin, ymax;
    int headerFrames;              // what the header says
    int presentFrames;             // ShowFrame tags present
    bool refused;                  // the player cannot show it at all
    std::uint32_t fileLength = 0;  // 0: the true length
};

QByteArray movieWith(const Header& h) {
    BitWriter rect;
    rect.put(std::uint32_t(h.nbits), 5);
    for (std::uint32_t v : {h.xmin, h.xmax, h.ymin, h.ymax}) rect.put(v, h.nbits);
    QByteArray body = rect.bytes();
    body.append(char(0));
    body.append(char(12));  // 12 frames a second
    body.append(char(h.headerFrames & 0xFF));
    body.append(char((h.headerFrames >> 8) & 0xFF));
    for (int i = 0; i < h.presentFrames; ++i) body.append(QByteArray("\x40\x00", 2));
    body.append(QByteArray("\x00\x00", 2));
    QByteArray out("FWS\x06", 4);
    const std::uint32_t length = h.fileLength ? h.fileLength : std::uint32_t(body.size() + 8);
    for (int i = 0; i < 4; ++i) out.append(char((length >> (8 * i)) & 0xFF));
    return out + body;
}

constexpr std::uint32_t maxTwips = (1u << 30) - 1;

const Header headers[] = {
    {"StageOfABillionPixels", 31, 0, maxTwips, 0, maxTwips, 2, 2, false},
    {"StageTurnedInsideOut", 31, maxTwips, 0, maxTwips, 0, 2, 2, false},
    {"StageOfNoSize", 0, 0, 0, 0, 0, 2, 2, false},
    {"RectRunningOffTheFile", 31, 0, maxTwips, 0, maxTwips, 2, 0, true, 12},
    {"LengthOverTheLimit", 16, 0, 14100, 0, 7000, 2, 2, true, 0xFFFFFFF0u},
    {"MoreFramesThanThereAre", 16, 0, 14100, 0, 7000, 65535, 2, false},
    {"NoFramesAtAll", 16, 0, 14100, 0, 7000, 0, 0, false},
};

void PrintTo(const Header& h, std::ostream* os) {
    *os << h.name;
}

class MovieHeaderTest : public LabTest, public ::testing::WithParamInterface<Header> {};

TEST_P(MovieHeaderTest, IsRefusedOrPlaysToItsLastFrame) {
    const Header h = GetParam();
    createWindows();
    ASSERT_TRUE(messages->texts().isEmpty());
    tree->write("Movie/Opyt3/1.swf", movieWith(h));
    MoviePlayer* player = lab->window<CatalystWindow>()->movie;
    player->setManualStepping(true);

    lab->window<MainWindow>()->chooseExperiment(3);
    lab->window<MainWindow>()->onExperimentLinkClicked();

    if (h.refused) {
        EXPECT_EQ(messages->errorTexts(), QStringList{refusedMessage});
        EXPECT_TRUE(programEnding());
        EXPECT_EQ(player->totalFrames(), 0);
        return;
    }
    EXPECT_TRUE(messages->texts().isEmpty());
    // Shown: it paints at the window's size whatever its stage claims.
    const QImage shot = player->grab().toImage();
    EXPECT_EQ(shot.size(), player->size());
    bool reached = false;
    for (int i = 0; !reached && i <= 2 * player->totalFrames() + 1; ++i) {
        reached = player->currentFrame() == player->totalFrames() - 1;
        if (!reached) player->stepFrames(1);
    }
    EXPECT_TRUE(reached) << "the header promises " << player->totalFrames()
                         << " frames; the window's watch for the last frame never fires";
    EXPECT_FALSE(programEnding());
}

INSTANTIATE_TEST_SUITE_P(Headers, MovieHeaderTest, ::testing::ValuesIn(headers),
                         [](const ::testing::TestParamInfo<Header>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
