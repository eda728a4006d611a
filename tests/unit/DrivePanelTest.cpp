#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "core/RecordingControls.h"
#include "platform/fakes/FakeDrives.h"
#include "readings/DrivePanel.h"

using namespace pelmora;

namespace {

constexpr uint64_t kMiB = 1024 * 1024;

NumberSeparators englishSeparators()
{
    return {".", ",", "\3"};
}
NumberSeparators germanSeparators()
{
    return {",", ".", "\3"};
}

// Sets a C library locale for one test and puts the previous one back.
class LocaleScope {
public:
    LocaleScope(int category, const char* name) : category_(category)
    {
        const char* previous = std::setlocale(category, nullptr);
        previous_ = previous ? previous : "C";
        ok_ = std::setlocale(category, name) != nullptr;
    }
    ~LocaleScope() { std::setlocale(category_, previous_.c_str()); }
    bool ok() const { return ok_; }

private:
    int category_;
    std::string previous_;
    bool ok_ = false;
};

class DrivePanelTest : public ::testing::Test {
protected:
    FakeDrives::Drive& addDrive(char letter, uint64_t sizeBytes, uint64_t freeBytes, std::string label = "")
    {
        FakeDrives::Drive drive;
        drive.totalBytes = sizeBytes;
        drive.freeBytes = freeBytes;
        drive.label = std::move(label);
        return drives.add(letter, drive);
    }
    void update(std::string first, std::string second = "")
    {
        DrivePanel panel(widget.controls(), drives, englishSeparators);
        panel.update({std::move(first), std::move(second)});
    }
    WidgetControls& c() { return widget.controls(); }

    RecordingWidget widget;
    FakeDrives drives;
};

}  // namespace

TEST(UsedShare, TruncatesTheFreeShareSoTheUsedShareRoundsUp)
{
    struct Case {
        uint64_t freeMiB, sizeMiB;
        uint32_t used;
    } cases[] = {
        {50, 100, 50},          // 50.5 MiB free is 50 whole MiB
        {372, 1000, 63},        // 37.2 % free
        {0, 100, 100},          // full
        {100, 100, 0},          // empty
        {150, 100, 0},          // more free than size (odd report): all free
        {1, 1, 0},              // the smallest measurable volume
        {1907726, 1907727, 1},  // almost empty big disk: 99.99 % free
    };
    for (const Case& c : cases)
        EXPECT_EQ(usedSharePercent(c.freeMiB, c.sizeMiB), c.used) << c.freeMiB << "/" << c.sizeMiB;
}

TEST(DriveSize, RoundsHundredthsOfAGigabyteHalfAwayFromZero)
{
    struct Case {
        uint64_t sizeMiB;
        const char* text;
    } cases[] = {
        {1907727, "1,863.01"}, {128, "0.13"},                    // 0.125 exactly: the half goes up
        {1024, "1.00"},        {0, "0.00"},        {1, "0.00"},  // 0.00098 GB
        {5, "0.00"},           {6, "0.01"},                      // 0.00488 and 0.00586
        {238475, "232.89"},    {953869, "931.51"}, {1024ull * 1000 * 1000, "1,000,000.00"},
    };
    for (const Case& c : cases) EXPECT_EQ(driveSizeGB(c.sizeMiB, englishSeparators()), c.text) << c.sizeMiB;
    EXPECT_EQ(driveSizeGB(1907727, germanSeparators()), "1.863,01");
    EXPECT_EQ(driveSizeGB(1907727, NumberSeparators{".", "", ""}), "1863.01");
}

TEST(NumberFormat, GroupsByTheLocaleGrouping)
{
    struct Case {
        uint64_t hundredths;
        NumberSeparators separators;
        const char* text;
    } cases[] = {
        {123456789, {".", ",", "\3"}, "1,234,567.89"},
        {123456789, {".", ",", "\3\2"}, "12,34,567.89"},               // the last size repeats
        {123456789, {".", ",", "\3\x7f"}, "1234,567.89"},              // CHAR_MAX: no further groups
        {123456789, {",", "\u202f", "\3"}, "1\u202f234\u202f567,89"},  // a multibyte separator
        {99999, {".", ",", "\3"}, "999.99"},
        {5, {".", ",", "\3"}, "0.05"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatFixedPoint(c.hundredths, 2, c.separators), c.text) << c.text;
    EXPECT_EQ(formatFixedPoint(1234, 0, englishSeparators()), "1,234");
}

TEST(NumberFormat, RoundsHalvesAwayFromZeroWithoutOverflow)
{
    EXPECT_EQ(divideRoundingHalfAway(5, 2), 3u);
    EXPECT_EQ(divideRoundingHalfAway(7, 2), 4u);
    EXPECT_EQ(divideRoundingHalfAway(4, 3), 1u);
    EXPECT_EQ(divideRoundingHalfAway(5, 3), 2u);
    EXPECT_EQ(divideRoundingHalfAway(7, 0), 0u);
    EXPECT_EQ(divideRoundingHalfAway(UINT64_MAX, UINT64_MAX - 1), 1u);
    EXPECT_EQ(divideRoundingHalfAway(UINT64_MAX, 2), UINT64_MAX / 2 + 1);
}

TEST(VolumePart, BlankOrControlOnlyLabelsBecomeOneBlank)
{
    EXPECT_EQ(volumePart(""), " ");
    EXPECT_EQ(volumePart("   "), " ");
    EXPECT_EQ(volumePart(" \t\r\n\x01\x7f"), " ");
    EXPECT_EQ(volumePart("system"), " (SYSTEM)");
    EXPECT_EQ(volumePart(" My Data "), " ( MY DATA )");  // kept untrimmed
    EXPECT_EQ(volumePart("usb-2.0_x"), " (USB-2.0_X)");
}

TEST(VolumePart, UpperCasesByTheLocaleAndKeepsWhatItCannotDecode)
{
    LocaleScope utf8(LC_CTYPE, "C.UTF-8");
    if (!utf8.ok()) GTEST_SKIP() << "no C.UTF-8 locale";
    EXPECT_EQ(volumePart("données"), " (DONNÉES)");
    EXPECT_EQ(volumePart("straße"), " (STRAßE)");  // ß has no one-letter upper case
    EXPECT_EQ(volumePart("ab\xff"
                         "cd"),
              " (AB\xff"
              "CD)");  // a byte that is no UTF-8
}

TEST_F(DrivePanelTest, ShowsLabelSizeShareAndPercentage)
{
    addDrive('C', 1907727 * kMiB, 1907727 * kMiB * 372 / 1000, "system");
    update("C");
    EXPECT_EQ(c().lblDrive1->text(), "Drive C: (SYSTEM) [1,863.01 GB]");
    EXPECT_EQ(c().Drive1->position(), 63);
    EXPECT_EQ(c().lblDrive1Free->text(), "63%");
}

TEST_F(DrivePanelTest, HalfAMebibyteFreeCountsAsNone)
{
    addDrive('C', 100 * kMiB, 50 * kMiB + kMiB / 2);
    update("C");
    EXPECT_EQ(c().lblDrive1Free->text(), "50%");
    EXPECT_EQ(c().Drive1->position(), 50);
    EXPECT_EQ(c().lblDrive1->text(), "Drive C:  [0.10 GB]");  // no label: two blanks
}

TEST_F(DrivePanelTest, KeepsTheLetterAsStoredAndMeasuresThatDrive)
{
    addDrive('D', 128 * kMiB, 0, "work");
    update("d");
    EXPECT_EQ(c().lblDrive1->text(), "Drive d: (WORK) [0.13 GB]");
    EXPECT_EQ(c().lblDrive1Free->text(), "100%");
}

TEST_F(DrivePanelTest, UnreadableLabelCountsAsNoLabel)
{
    addDrive('C', 1024 * kMiB, 0, "hidden").labelReadable = false;
    update("C");
    EXPECT_EQ(c().lblDrive1->text(), "Drive C:  [1.00 GB]");
}

TEST_F(DrivePanelTest, UnmeasurableOrTinyDriveSaysSoAndTheSecondRowStillRuns)
{
    struct Case {
        const char* name;
        bool exists, measurable;
        uint64_t sizeBytes;
    } cases[] = {
        {"missing drive", false, true, 0},
        {"no medium", true, false, 0},
        {"zero size", true, true, 0},
        {"under 1 MiB", true, true, kMiB - 1},
    };
    for (const Case& k : cases) {
        drives.remove('E');
        if (k.exists) addDrive('E', k.sizeBytes, 0, "stick").measurable = k.measurable;
        addDrive('C', 1024 * kMiB, 512 * kMiB);
        c().Drive1->setPosition(80);
        update("E", "C");
        const std::string volume = k.exists ? " (STICK)" : " ";
        EXPECT_EQ(c().lblDrive1->text(), "Drive E:" + volume + " [not available]") << k.name;
        EXPECT_EQ(c().Drive1->position(), 0) << k.name;
        EXPECT_EQ(c().lblDrive1Free->text(), "N/A") << k.name;
        EXPECT_EQ(c().lblDrive2->text(), "Drive C:  [1.00 GB]") << k.name;
        EXPECT_EQ(c().lblDrive2Free->text(), "50%") << k.name;
    }
}

TEST_F(DrivePanelTest, ADriveThatDoesNotRespondIsReportedAfterBothRowsAreWritten)
{
    addDrive('D', 1024 * kMiB, 0, "share").responding = false;
    addDrive('C', 1024 * kMiB, 512 * kMiB);
    c().Drive1->setPosition(80);
    DrivePanel panel(widget.controls(), drives, englishSeparators);
    try {
        panel.update({"D", "C"});
        FAIL() << "a drive that does not respond must fail the step";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "drive not responding: D:");
    }
    EXPECT_EQ(c().lblDrive1->text(), "Drive D:  [not responding]");
    EXPECT_EQ(c().Drive1->position(), 0);
    EXPECT_EQ(c().lblDrive1Free->text(), "N/A");
    EXPECT_EQ(c().lblDrive2->text(), "Drive C:  [1.00 GB]");
    EXPECT_TRUE(c().lblDrive2->isVisible());
}

TEST_F(DrivePanelTest, NoFirstDriveShowsThatPlainly)
{
    update("");
    EXPECT_EQ(c().lblDrive1->text(), "No drive");
    EXPECT_EQ(c().Drive1->position(), 0);
    EXPECT_EQ(c().lblDrive1Free->text(), "N/A");
    EXPECT_TRUE(c().lblDrive1->isVisible());
    EXPECT_FALSE(c().lblDrive2->isVisible());
}

TEST_F(DrivePanelTest, SecondRowHidesWithoutASecondDriveAndShowsAgain)
{
    addDrive('C', 1024 * kMiB, 256 * kMiB, "system");
    addDrive('D', 2048 * kMiB, 1024 * kMiB, "work");
    update("C", "D");
    EXPECT_TRUE(c().lblDrive2->isVisible() && c().lblDrive2Free->isVisible() && c().Drive2->isVisible());
    EXPECT_EQ(c().lblDrive2->text(), "Drive D: (WORK) [2.00 GB]");

    update("C", "");
    EXPECT_FALSE(c().lblDrive2->isVisible() || c().lblDrive2Free->isVisible() || c().Drive2->isVisible());
    // Hidden controls keep what they showed.
    EXPECT_EQ(c().lblDrive2->text(), "Drive D: (WORK) [2.00 GB]");
    EXPECT_EQ(c().lblDrive2Free->text(), "50%");
    EXPECT_EQ(c().Drive2->position(), 50);

    drives.add('D').totalBytes = 4096 * kMiB;
    update("C", "D");
    EXPECT_TRUE(c().lblDrive2->isVisible() && c().lblDrive2Free->isVisible() && c().Drive2->isVisible());
    EXPECT_EQ(c().lblDrive2->text(), "Drive D:  [4.00 GB]");
    EXPECT_EQ(c().lblDrive2Free->text(), "100%");
}

TEST_F(DrivePanelTest, LocaleSeparatorsComeFromTheCLibraryByDefault)
{
    LocaleScope numeric(LC_NUMERIC, "C");
    addDrive('C', 1907727 * kMiB, 0);
    DrivePanel panel(widget.controls(), drives);
    panel.update({"C", ""});
    EXPECT_EQ(c().lblDrive1->text(), "Drive C:  [1863.01 GB]");  // the C locale groups nothing
}
