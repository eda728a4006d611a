#include "readings/DrivePanel.h"

#include <algorithm>
#include <climits>
#include <cwchar>
#include <cwctype>
#include <stdexcept>

namespace pelmora {

namespace {

constexpr uint64_t kBytesPerMiB = 1024 * 1024;

bool isBlankOrControl(unsigned char c)
{
    return c <= ' ' || c == 0x7F;
}

// Upper case by the locale of LC_CTYPE, one multibyte character at a time;
// bytes the locale cannot decode are kept as they are.
std::string upperCased(const std::string& text)
{
    std::string result;
    std::mbstate_t in{};
    size_t offset = 0;
    while (offset < text.size()) {
        wchar_t wide = 0;
        const size_t length = std::mbrtowc(&wide, text.data() + offset, text.size() - offset, &in);
        if (length == static_cast<size_t>(-1) || length == static_cast<size_t>(-2) || length == 0) {
            // Undecodable or an embedded NUL: keep the byte and start afresh.
            result += text[offset++];
            in = std::mbstate_t{};
            continue;
        }
        char encoded[MB_LEN_MAX];
        std::mbstate_t out{};
        const size_t written = std::wcrtomb(encoded, static_cast<wchar_t>(std::towupper(wide)), &out);
        if (written == static_cast<size_t>(-1))
            result.append(text, offset, length);
        else
            result.append(encoded, written);
        offset += length;
    }
    return result;
}

}  // namespace

uint32_t usedSharePercent(uint64_t freeMiB, uint64_t sizeMiB)
{
    if (sizeMiB == 0) return 0;
    // Bytes in MiB stay below 2^44, so the product cannot overflow.
    const uint64_t freePercent = std::min<uint64_t>(freeMiB * 100 / sizeMiB, 100);
    return 100 - static_cast<uint32_t>(freePercent);
}

std::string driveSizeGB(uint64_t sizeMiB, const NumberSeparators& separators)
{
    // Hundredths of a GB computed in integers, so 0.125 GB really is a half.
    const uint64_t hundredths = divideRoundingHalfAway(sizeMiB * 100, 1024);
    return formatFixedPoint(hundredths, 2, separators);
}

std::string volumePart(const std::string& label)
{
    const bool blank = std::all_of(label.begin(), label.end(),
                                   [](char c) { return isBlankOrControl(static_cast<unsigned char>(c)); });
    if (blank) return " ";
    return " (" + upperCased(label) + ")";
}

DrivePanel::DrivePanel(WidgetControls& controls, Drives& drives, SeparatorsSource separators)
    : controls_(controls), drives_(drives), separators_(separators)
{
}

void DrivePanel::update(const CurrentDrives& current)
{
    const NumberSeparators separators = separators_();
    const Row first{controls_.lblDrive1, controls_.lblDrive1Free, controls_.Drive1};
    std::string silent;  // the drives that did not respond, "C: D:"
    const auto show = [&](const std::string& drive, const Row& row) {
        if (showDrive(drive, row, separators)) return;
        if (!silent.empty()) silent += ' ';
        silent += drive.substr(0, 1) + ":";
    };
    if (current.first.empty()) {
        first.caption->setText(kNoDriveCaption);
        first.bar->setPosition(0);
        first.percentage->setText(kPercentNotAvailable);
    } else {
        show(current.first, first);
    }

    const Row second{controls_.lblDrive2, controls_.lblDrive2Free, controls_.Drive2};
    const bool monitored = !current.second.empty();
    if (monitored) show(current.second, second);
    second.caption->setVisible(monitored);
    second.percentage->setVisible(monitored);
    second.bar->setVisible(monitored);
    if (!silent.empty()) throw std::runtime_error("drive not responding: " + silent);
}

bool DrivePanel::showDrive(const std::string& drive, const Row& row, const NumberSeparators& separators)
{
    const char letter = drive[0];
    std::string label;
    if (!drives_.volumeLabel(letter, label)) label.clear();
    const std::string caption = "Drive " + std::string(1, letter) + ":" + volumePart(label);

    uint64_t freeBytes = 0, totalBytes = 0;
    const bool measured = drives_.diskFreeSpace(letter, freeBytes, totalBytes);
    const uint64_t sizeMiB = measured ? totalBytes / kBytesPerMiB : 0;
    if (sizeMiB == 0) {
        const bool responding = measured || drives_.responding(letter);
        row.caption->setText(caption + " " + (responding ? kDriveNotAvailable : kDriveNotResponding));
        row.bar->setPosition(0);
        row.percentage->setText(kPercentNotAvailable);
        return responding;
    }
    const uint32_t used = usedSharePercent(freeBytes / kBytesPerMiB, sizeMiB);
    row.bar->setPosition(used);
    row.percentage->setText(std::to_string(used) + "%");
    row.caption->setText(caption + " [" + driveSizeGB(sizeMiB, separators) + " GB]");
    return true;
}

}  // namespace pelmora
