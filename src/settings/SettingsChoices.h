#pragma once
// What the settings dialog decides, without any widget: the drive and
// interface lists it offers, the free-space texts, the check-box toggling of
// its tree, and which settings an Apply writes. The dialog only shows these
// and forwards the user's input.
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "core/NumberFormat.h"
#include "core/SettingsRecord.h"
#include "net/TrafficList.h"
#include "platform/Drives.h"
#include "settings/DerivedDrives.h"
#include "settings/SettingsStore.h"

namespace pelmora {

// The user's thousands and decimal separators ("1,234.50").
// bytes / divisor (both >= 0) in hundredths, the last digit rounded half to even.
int64_t hundredthsOf(int64_t bytes, int64_t divisor);

// 100 minus the used share rounded half to even. A size of 0 or below (an
// empty volume, or a query that failed) gives 0 instead of dividing by it.
int32_t freePercent(int64_t freeBytes, int64_t sizeBytes);

// "42.00 GB (38%) of free disk space". The unit is chosen by the free bytes
// alone. A drive whose space cannot be read shows "0.00 KB (0%) of free disk
// space", and a drive that does not answer in time "not responding".
inline constexpr const char* kDriveNotRespondingText = "not responding";
std::string DriveFreeSpaceText(char letter, Drives& drives, const NumberSeparators& separators);

// What the dialog reads when it opens. A value the store cannot read (one of
// another type than text) counts as missing, so a hand-edited file never
// keeps the dialog from opening.
struct DialogDriveSettings {
    std::string firstDrive;   // Drive1, or the widget's current first drive
    std::string secondDrive;  // Drive2, or the widget's current second drive
    int32_t nrDrives = SettingsRecord::NrDrives.defaultValue;
    int32_t refreshSpeed = SettingsRecord::RefreshSpeed.defaultValue;
};

struct DialogNetworkSettings {
    int32_t network1 = SettingsRecord::Network1.defaultValue;
    int32_t network2 = SettingsRecord::Network2.defaultValue;
    int32_t nrNetwork = SettingsRecord::NrNetwork.defaultValue;
};

// State pictures of the drive tree; 0 shows none.
struct NodeStateIndices {
    int unchecked = 1;
    int checked = 2;
    int radioOff = 3;
    int radioOn = 4;
};
inline constexpr NodeStateIndices kDialogStateIndices{};

struct DriveNode {
    char letter = 0;
    std::string text;  // "C:\ [ <free space text> ]"
    int stateIndex = kDialogStateIndices.unchecked;
};

// One node per fixed drive from A to Z, checked when it is the first drive,
// or the second one while two drives are monitored. Letters compare exactly.
std::vector<DriveNode> listFixedDrives(Drives& drives, const DialogDriveSettings& settings,
                                       const NumberSeparators& separators);

// One entry of the dialog's interface list and the monitor position it
// stands for, which is what the settings keep.
struct NetworkEntry {
    int32_t position = 0;
    std::string text;
};

// The entries in the monitor's order: every connected interface as
// "Description (IPAddress)", and a chosen one that is not connected (gone,
// or without its address) as "IPAddress (Not Connected)", as the widget
// shows it. Interfaces long deleted are not offered, so the list stays as
// short as the machine's interfaces.
std::vector<NetworkEntry> networkEntries(const TrafficList& traffic, const DialogNetworkSettings& settings);

// The rows to check for the stored interfaces; positions without an entry
// are ignored.
std::vector<int32_t> storedInterfaceRows(const DialogNetworkSettings& settings,
                                         const std::vector<NetworkEntry>& entries);

// A tree seen through node handles, so the toggle works on any tree widget.
template <typename Node>
class NodeStateTree {
public:
    virtual ~NodeStateTree() = default;
    virtual int stateIndex(Node node) const = 0;
    virtual void setStateIndex(Node node, int index) = 0;
    // The children of the node's parent (top-level nodes for a root), itself included.
    virtual std::vector<Node> siblingsOf(Node node) const = 0;
    virtual std::vector<Node> childrenOf(Node node) const = 0;
};

// Check boxes flip, a radio button turns its siblings' radio buttons off, and
// the direct children take the node's new state.
template <typename Node>
void ToggleNodeState(NodeStateTree<Node>& tree, Node node, const NodeStateIndices& indices)
{
    const int state = tree.stateIndex(node);
    if (state == indices.unchecked) {
        tree.setStateIndex(node, indices.checked);
    } else if (state == indices.checked) {
        tree.setStateIndex(node, indices.unchecked);
    } else if (state == indices.radioOff) {
        for (Node sibling : tree.siblingsOf(node)) {
            const int siblingState = tree.stateIndex(sibling);
            if (siblingState == indices.radioOff || siblingState == indices.radioOn)
                tree.setStateIndex(sibling, indices.radioOff);
        }
        tree.setStateIndex(node, indices.radioOn);
    }
    const int newState = tree.stateIndex(node);
    for (Node child : tree.childrenOf(node)) tree.setStateIndex(child, newState);
}

struct TaskMessageText {
    std::string title;  // also the main instruction
    std::string content;
};

// The seven values an accepted Apply writes.
struct ChosenSettings {
    std::string drive1;
    std::string drive2;
    int32_t nrDrives = 0;
    int32_t nrNetwork = 0;
    int32_t network1 = SettingsRecord::Network1.defaultValue;
    int32_t network2 = SettingsRecord::Network2.defaultValue;
    int32_t refreshSpeed = SettingsRecord::RefreshSpeed.defaultValue;
};

struct ApplyChoice {
    std::optional<TaskMessageText> rejection;  // set: show it and write nothing
    ChosenSettings settings;
};

// Validates the check marks in the dialog's order (drives first). The drive
// texts are the dialog's own state: the first checked node's text replaces
// firstDrive and every further one replaces secondDrive, also when the choice
// is then rejected; an accepted choice reduces both to their first letter.
// `interfacePositions` gives the monitor position of each interface row;
// without it a row is its own position.
ApplyChoice chooseSettings(const std::vector<DriveNode>& driveNodes,
                           const std::vector<bool>& interfaceChecked, int32_t refreshSpeed,
                           std::string& firstDrive, std::string& secondDrive,
                           const std::vector<int32_t>& interfacePositions = {});

enum class SaveResult { Saved, KeyNotOpened, WriteFailed };

// The help file, in the folder of the running executable.
inline constexpr const char* kHelpFileName = "Corvane.chm";

// The interface list scrolls this far beyond its widest entry, in pixels.
inline constexpr int kExtentBeyondWidestEntry = 50;

// Shown when the settings key cannot be opened or a write is refused.
TaskMessageText settingsNotSavedMessage();

// --- Store access, for any store with the SettingsStore operations ---

namespace detail {
template <typename Store>
class OpenKey {
public:
    explicit OpenKey(Store& store) : store_(store), opened_(store.open()) {}
    ~OpenKey() { store_.close(); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    bool opened() const { return opened_; }

private:
    Store& store_;
    bool opened_;
};

template <typename Read, typename Value>
Value readOrDefault(Read read, Value defaultValue)
{
    try {
        return read();
    } catch (const SettingsError&) {
        return defaultValue;
    }
}

template <typename Store>
int32_t readSetting(const Store& store, const IntegerSetting& setting)
{
    return readOrDefault([&] { return store.ReadInteger(setting.name, setting.defaultValue); },
                         setting.defaultValue);
}

// The dialog's own default instead of the record's (see SettingsRecord::Drive1).
template <typename Store>
std::string readSetting(const Store& store, const TextSetting& setting, const std::string& dialogDefault)
{
    return readOrDefault([&] { return store.ReadString(setting.name, dialogDefault); }, dialogDefault);
}
}  // namespace detail

template <typename Store>
DialogDriveSettings readDriveSettings(Store& store, const CurrentDrives& current)
{
    detail::OpenKey<Store> key(store);
    DialogDriveSettings settings;
    settings.firstDrive = detail::readSetting(store, SettingsRecord::Drive1, current.first);
    settings.secondDrive = detail::readSetting(store, SettingsRecord::Drive2, current.second);
    settings.nrDrives = detail::readSetting(store, SettingsRecord::NrDrives);
    settings.refreshSpeed = detail::readSetting(store, SettingsRecord::RefreshSpeed);
    return settings;
}

template <typename Store>
DialogNetworkSettings readNetworkSettings(Store& store)
{
    detail::OpenKey<Store> key(store);
    DialogNetworkSettings settings;
    settings.network1 = detail::readSetting(store, SettingsRecord::Network1);
    settings.network2 = detail::readSetting(store, SettingsRecord::Network2);
    settings.nrNetwork = detail::readSetting(store, SettingsRecord::NrNetwork);
    return settings;
}

// Writes the seven values in their fixed order, all in one go: a store that
// can (the file store) keeps all of them or, when one is refused, none.
template <typename Store>
SaveResult saveSettings(Store& store, const ChosenSettings& chosen)
{
    detail::OpenKey<Store> key(store);
    if (!key.opened()) return SaveResult::KeyNotOpened;
    try {
        store.writeValues({
            {SettingsRecord::Drive1.name, chosen.drive1},
            {SettingsRecord::Drive2.name, chosen.drive2},
            {SettingsRecord::NrDrives.name, std::to_string(chosen.nrDrives)},
            {SettingsRecord::NrNetwork.name, std::to_string(chosen.nrNetwork)},
            {SettingsRecord::Network1.name, std::to_string(chosen.network1)},
            {SettingsRecord::Network2.name, std::to_string(chosen.network2)},
            {SettingsRecord::RefreshSpeed.name, std::to_string(chosen.refreshSpeed)},
        });
    } catch (const std::exception&) {
        // A refused write, or the file system failing under the store.
        return SaveResult::WriteFailed;
    }
    return SaveResult::Saved;
}

// What Apply does with the dialog's marks. A refused choice, or a save that
// failed (the key cannot be opened, a write is refused), gives the message to
// show as a warning: the dialog then stays open with the user's marks, so
// nothing is lost silently and Apply can be tried again. Nothing: all seven
// values are written and the dialog closes. The drive texts change as
// chooseSettings says.
template <typename Store>
std::optional<TaskMessageText> applySettings(Store& store, const std::vector<DriveNode>& driveNodes,
                                             const std::vector<bool>& interfaceChecked, int32_t refreshSpeed,
                                             std::string& firstDrive, std::string& secondDrive,
                                             const std::vector<int32_t>& interfacePositions)
{
    const ApplyChoice choice = chooseSettings(driveNodes, interfaceChecked, refreshSpeed, firstDrive,
                                              secondDrive, interfacePositions);
    if (choice.rejection) return choice.rejection;
    if (saveSettings(store, choice.settings) != SaveResult::Saved) return settingsNotSavedMessage();
    return std::nullopt;
}

}  // namespace pelmora
