#include "settings/SettingsChoices.h"

#include <algorithm>
#include <limits>

#include "core/Rounding.h"

namespace pelmora {

namespace {

constexpr int64_t kBytesPerKB = 1024;
constexpr int64_t kBytesPerMB = 1024 * 1024;
constexpr int64_t kBytesPerGB = 1024 * 1024 * 1024;

int64_t clampToSigned(uint64_t bytes)
{
    constexpr auto kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    return static_cast<int64_t>(bytes > kMax ? kMax : bytes);
}

}  // namespace

int64_t hundredthsOf(int64_t bytes, int64_t divisor)
{
    // Whole part and remainder apart, so bytes * 100 never overflows.
    const int64_t whole = bytes / divisor;
    const int64_t remainder = bytes % divisor;
    const int64_t scaled = remainder * 100;
    int64_t fraction = scaled / divisor;
    const int64_t twiceRest = (scaled % divisor) * 2;
    if (twiceRest > divisor || (twiceRest == divisor && fraction % 2 != 0)) ++fraction;
    return whole * 100 + fraction;
}

int32_t freePercent(int64_t freeBytes, int64_t sizeBytes)
{
    if (sizeBytes <= 0) return 0;
    // Scaled before dividing, so a share such as 98.5 stays exact.
    const double usedShare =
        static_cast<double>(sizeBytes - freeBytes) * 100.0 / static_cast<double>(sizeBytes);
    return static_cast<int32_t>(100 - roundHalfEven(usedShare));
}

std::string DriveFreeSpaceText(char letter, Drives& drives, const NumberSeparators& separators)
{
    int64_t freeBytes = -1;
    int64_t sizeBytes = -1;
    uint64_t freeToCaller = 0;
    uint64_t totalBytes = 0;
    if (drives.diskFreeSpace(letter, freeToCaller, totalBytes)) {
        freeBytes = clampToSigned(freeToCaller);
        sizeBytes = clampToSigned(totalBytes);
    } else if (!drives.responding(letter)) {
        return kDriveNotRespondingText;
    }

    // A failed query (-1) shows as nothing free rather than a negative size.
    const int64_t shownBytes = freeBytes < 0 ? 0 : freeBytes;
    int64_t divisor = kBytesPerGB;
    const char* unit = " GB (";
    if (shownBytes < kBytesPerMB) {
        divisor = kBytesPerKB;
        unit = " KB (";
    } else if (shownBytes < kBytesPerGB) {
        divisor = kBytesPerMB;
        unit = " MB (";
    }
    return formatFixedPoint(static_cast<uint64_t>(hundredthsOf(shownBytes, divisor)), 2, separators) + unit +
           std::to_string(freePercent(freeBytes, sizeBytes)) + "%) of free disk space";
}

std::vector<DriveNode> listFixedDrives(Drives& drives, const DialogDriveSettings& settings,
                                       const NumberSeparators& separators)
{
    std::vector<DriveNode> nodes;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (drives.driveType(letter) != kDriveFixed) continue;
        const bool isFirst = !settings.firstDrive.empty() && settings.firstDrive[0] == letter;
        const bool isSecond =
            !settings.secondDrive.empty() && settings.secondDrive[0] == letter && settings.nrDrives == 2;
        DriveNode node;
        node.letter = letter;
        node.text = std::string(1, letter) + ":\\ [ " + DriveFreeSpaceText(letter, drives, separators) + " ]";
        node.stateIndex = isFirst || isSecond ? kDialogStateIndices.checked : kDialogStateIndices.unchecked;
        nodes.push_back(std::move(node));
    }
    return nodes;
}

namespace {

// The positions the settings choose, first interface first.
std::vector<int32_t> chosenPositions(const DialogNetworkSettings& settings)
{
    std::vector<int32_t> positions;
    if (settings.nrNetwork > 0) positions.push_back(settings.network1);
    if (settings.nrNetwork > 1) positions.push_back(settings.network2);
    return positions;
}

}  // namespace

std::vector<NetworkEntry> networkEntries(const TrafficList& traffic, const DialogNetworkSettings& settings)
{
    const std::vector<int32_t> chosen = chosenPositions(settings);
    std::vector<NetworkEntry> entries;
    const int32_t count = traffic.TrafficCount();
    for (int32_t position = 0; position < count; ++position) {
        const bool isChosen = std::find(chosen.begin(), chosen.end(), position) != chosen.end();
        const TTraffic record = traffic.TrafficAt(position);
        if (record.IsConnected) {
            entries.push_back({position, record.Description + " (" + record.IPAddress + ")"});
        } else if (isChosen) {
            entries.push_back({position, record.IPAddress + " (" + record.StatusText() + ")"});
        }
    }
    return entries;
}

std::vector<int32_t> storedInterfaceRows(const DialogNetworkSettings& settings,
                                         const std::vector<NetworkEntry>& entries)
{
    std::vector<int32_t> rows;
    for (const int32_t position : chosenPositions(settings)) {
        const auto found = std::find_if(entries.begin(), entries.end(), [&](const NetworkEntry& entry) {
            return entry.position == position;
        });
        if (found != entries.end()) rows.push_back(static_cast<int32_t>(found - entries.begin()));
    }
    return rows;
}

ApplyChoice chooseSettings(const std::vector<DriveNode>& driveNodes,
                           const std::vector<bool>& interfaceChecked, int32_t refreshSpeed,
                           std::string& firstDrive, std::string& secondDrive,
                           const std::vector<int32_t>& interfacePositions)
{
    ApplyChoice choice;
    int32_t checkedDrives = 0;
    for (const DriveNode& node : driveNodes) {
        if (node.stateIndex != kDialogStateIndices.checked) continue;
        (checkedDrives == 0 ? firstDrive : secondDrive) = node.text;
        ++checkedDrives;
    }
    if (checkedDrives == 0) {
        choice.rejection =
            TaskMessageText{"Nothing Selected", "Please select at least one drive from the list to monitor."};
        return choice;
    }
    if (checkedDrives > 2) {
        choice.rejection = TaskMessageText{"Invalid Selection", "Please select up to 2 drives to monitor."};
        return choice;
    }

    int32_t checkedInterfaces = 0;
    int32_t firstInterface = SettingsRecord::Network1.defaultValue;
    int32_t secondInterface = SettingsRecord::Network2.defaultValue;
    for (size_t row = 0; row < interfaceChecked.size(); ++row) {
        if (!interfaceChecked[row]) continue;
        const int32_t position =
            row < interfacePositions.size() ? interfacePositions[row] : static_cast<int32_t>(row);
        (checkedInterfaces == 0 ? firstInterface : secondInterface) = position;
        ++checkedInterfaces;
    }
    if (checkedInterfaces > 2) {
        choice.rejection =
            TaskMessageText{"Invalid Selection", "Please select up to 2 network interfaces to monitor."};
        return choice;
    }

    firstDrive = driveLetterText(firstDrive);
    secondDrive = driveLetterText(secondDrive);
    choice.settings = ChosenSettings{firstDrive,     secondDrive,     checkedDrives, checkedInterfaces,
                                     firstInterface, secondInterface, refreshSpeed};
    return choice;
}

TaskMessageText settingsNotSavedMessage()
{
    return TaskMessageText{"Settings Not Saved", "The settings could not be saved."};
}

}  // namespace pelmora
