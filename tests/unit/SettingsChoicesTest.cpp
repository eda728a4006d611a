#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "net/fakes/FakeTrafficList.h"
#include "platform/fakes/FakeDrives.h"
#include "settings/SettingsChoices.h"

using namespace pelmora;

namespace {

// A settings key in memory that logs every write in order.
class MemoryStore {
public:
    bool open()
    {
        ++opens;
        return openable;
    }
    void close() { ++closes; }
    std::string ReadString(const std::string& name, const std::string& defaultValue) const
    {
        if (wrongType.count(name)) throw SettingsError("Invalid data type for '" + name + "'");
        auto it = values.find(name);
        return it == values.end() ? defaultValue : it->second;
    }
    int32_t ReadInteger(const std::string& name, int32_t defaultValue) const
    {
        const std::string text = ReadString(name, "");
        try {
            return text.empty() ? defaultValue : std::stoi(text);
        } catch (const std::exception&) {
            return defaultValue;
        }
    }
    void WriteString(const std::string& name, const std::string& value)
    {
        if (static_cast<int>(writes.size()) == refusedWrite)
            throw SettingsError("Failed to set data for '" + name + "'");
        writes.push_back(name + "=" + value);
        values[name] = value;
    }
    void WriteInteger(const std::string& name, int32_t value) { WriteString(name, std::to_string(value)); }
    // All or nothing, as the file store writes a batch.
    void writeValues(const std::vector<NamedText>& batch)
    {
        for (size_t i = 0; i < batch.size(); ++i) {
            if (static_cast<int>(writes.size() + i) == refusedWrite)
                throw SettingsError("Failed to set data for '" + batch[i].name + "'");
        }
        for (const NamedText& value : batch) WriteString(value.name, value.text);
    }

    bool openable = true;
    int refusedWrite = -1;  // index of the write that fails
    std::set<std::string> wrongType;
    std::map<std::string, std::string> values;
    std::vector<std::string> writes;
    int opens = 0;
    int closes = 0;
};

FakeDrives::Drive fixedDrive(uint64_t freeBytes, uint64_t totalBytes)
{
    FakeDrives::Drive drive;
    drive.freeBytes = freeBytes;
    drive.totalBytes = totalBytes;
    return drive;
}

}  // namespace

TEST(DriveFreeSpaceText, ChoosesTheUnitByTheFreeBytes)
{
    struct Case {
        uint64_t freeBytes;
        uint64_t totalBytes;
        const char* expected;
    };
    const Case cases[] = {
        {1048575, 2097150, "1,024.00 KB (50%) of free disk space"},
        {1048576, 2097152, "1.00 MB (50%) of free disk space"},
        {1073741823, 1073741824, "1,024.00 MB (100%) of free disk space"},
        {1073741824, 4294967296, "1.00 GB (25%) of free disk space"},
        {45097156608, 120034123776, "42.00 GB (38%) of free disk space"},
        {0, 500, "0.00 KB (0%) of free disk space"},
        {128, 1024, "0.12 KB (12%) of free disk space"},  // 0.125 rounds to the even 0.12
        {384, 1024, "0.38 KB (38%) of free disk space"},  // 0.375 rounds to the even 0.38
        {3, 200, "0.00 KB (2%) of free disk space"},      // 98.5 % used rounds to 98
        {5, 200, "0.00 KB (2%) of free disk space"},      // 97.5 % used rounds to 98
        {1125899906842624, 1125899906842624, "1,048,576.00 GB (100%) of free disk space"},
    };
    for (const Case& c : cases) {
        FakeDrives drives;
        drives.add('C', fixedDrive(c.freeBytes, c.totalBytes));
        EXPECT_EQ(DriveFreeSpaceText('C', drives, {}), c.expected) << c.freeBytes << " of " << c.totalBytes;
    }
}

TEST(DriveFreeSpaceText, AnUnmeasurableOrEmptyDriveNeverDividesByZero)
{
    FakeDrives drives;
    drives.add('C', FakeDrives::Drive{}).measurable = false;
    drives.add('D', fixedDrive(0, 0));
    drives.add('E', fixedDrive(4096, 0));
    EXPECT_EQ(DriveFreeSpaceText('C', drives, {}), "0.00 KB (0%) of free disk space");
    EXPECT_EQ(DriveFreeSpaceText('D', drives, {}), "0.00 KB (0%) of free disk space");
    EXPECT_EQ(DriveFreeSpaceText('E', drives, {}), "4.00 KB (0%) of free disk space");
    EXPECT_EQ(DriveFreeSpaceText('Q', drives, {}), "0.00 KB (0%) of free disk space");
    drives.add('F', fixedDrive(4096, 0)).responding = false;
    EXPECT_EQ(DriveFreeSpaceText('F', drives, {}), "not responding");
}

TEST(DriveFreeSpaceText, UsesTheGivenSeparators)
{
    FakeDrives drives;
    drives.add('C', fixedDrive(1048575, 2097150));
    EXPECT_EQ(DriveFreeSpaceText('C', drives, {",", ".", "\3"}), "1.024,00 KB (50%) of free disk space");
    EXPECT_EQ(formatFixedPoint(123456789050, 2, {",", "\u00a0", "\3"}), "1\u00a0234\u00a0567\u00a0890,50");
    EXPECT_EQ(formatFixedPoint(99999, 2, {}), "999.99");
    EXPECT_EQ(formatFixedPoint(100000, 2, {}), "1,000.00");
    EXPECT_EQ(formatFixedPoint(5, 2, {}), "0.05");
}

TEST(ListFixedDrives, ChecksTheStoredDrivesByExactLetter)
{
    FakeDrives drives;
    drives.add('C', fixedDrive(45097156608, 120034123776));
    drives.add('D', FakeDrives::Drive{});
    drives.add('E', FakeDrives::Drive{}).type = kDriveRemovable;
    drives.add('F', FakeDrives::Drive{});
    drives.add('G', FakeDrives::Drive{}).type = kDriveRemote;

    struct Case {
        std::string first, second;
        int32_t nrDrives;
        std::string checked;  // letters whose node is checked
    };
    const Case cases[] = {
        {"C", "D", 2, "CD"}, {"C", "D", 1, "C"}, {"D:\\", "F", 2, "DF"}, {"c", "d", 2, ""},
        {"", "F", 2, "F"},   {"", "", 2, ""},    {"F", "F", 2, "F"},     {"C", "D", 3, "C"},
    };
    for (const Case& c : cases) {
        const auto nodes = listFixedDrives(drives, {c.first, c.second, c.nrDrives, 1}, {});
        ASSERT_EQ(nodes.size(), 3u);
        std::string letters, checked;
        for (const DriveNode& node : nodes) {
            letters += node.letter;
            if (node.stateIndex == kDialogStateIndices.checked)
                checked += node.letter;
            else
                EXPECT_EQ(node.stateIndex, kDialogStateIndices.unchecked);
        }
        EXPECT_EQ(letters, "CDF");
        EXPECT_EQ(checked, c.checked) << c.first << "/" << c.second << "/" << c.nrDrives;
    }
    EXPECT_EQ(listFixedDrives(drives, {}, {})[0].text, "C:\\ [ 42.00 GB (38%) of free disk space ]");
}

// Positions as text: "1:eth0" is the entry for position 1.
std::vector<std::string> entryList(const std::vector<NetworkEntry>& entries)
{
    std::vector<std::string> list;
    for (const NetworkEntry& entry : entries)
        list.push_back(std::to_string(entry.position) + ":" + entry.text);
    return list;
}

TEST(NetworkList, OffersConnectedInterfacesAndTheChosenOnesThatAreNot)
{
    FakeTrafficList traffic;
    traffic.add("eth0 Intel I219", "192.168.1.5");
    for (const char* gone : {"veth1", "veth2", "veth3"}) {
        traffic.add(gone, " 10.  0.  0.  9");
        traffic.records.back().IsConnected = false;
        traffic.records.back().Description.clear();
    }
    traffic.add("wlan0", kAddressNotFound);
    const struct {
        DialogNetworkSettings stored;
        std::vector<std::string> expected;
    } cases[] = {
        {{-1, -1, 0}, {"0:eth0 Intel I219 (192.168.1.5)", "4:wlan0 (!not_found!)"}},
        {{2, 3, 2},
         {"0:eth0 Intel I219 (192.168.1.5)", "2: 10.  0.  0.  9 (Not Connected)",
          "3: 10.  0.  0.  9 (Not Connected)", "4:wlan0 (!not_found!)"}},
        {{2, 3, 1},
         {"0:eth0 Intel I219 (192.168.1.5)", "2: 10.  0.  0.  9 (Not Connected)", "4:wlan0 (!not_found!)"}},
        {{2, 3, 0}, {"0:eth0 Intel I219 (192.168.1.5)", "4:wlan0 (!not_found!)"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(entryList(networkEntries(traffic, c.stored)), c.expected)
            << c.stored.network1 << "," << c.stored.network2 << " nr " << c.stored.nrNetwork;
    }
    EXPECT_TRUE(networkEntries(FakeTrafficList{}, {0, 1, 2}).empty());
}

TEST(NetworkList, ChecksTheRowsOfStoredPositionsThatHaveAnEntry)
{
    std::vector<NetworkEntry> fourInOrder;
    for (int32_t position = 0; position < 4; ++position) fourInOrder.push_back({position, "if"});
    const std::vector<NetworkEntry> sparse{{0, "a"}, {5, "b"}, {9, "c"}};
    struct Case {
        DialogNetworkSettings stored;
        const std::vector<NetworkEntry>& entries;
        std::vector<int32_t> expected;
    };
    const Case cases[] = {
        {{1, 3, 2}, fourInOrder, {1, 3}},
        {{1, 3, 1}, fourInOrder, {1}},
        {{1, 3, 0}, fourInOrder, {}},
        {{1, 4, 2}, fourInOrder, {1}},
        {{-1, 2, 2}, fourInOrder, {2}},
        {{-1, -1, 2}, fourInOrder, {}},
        {{0, 1, 2}, {}, {}},
        {{5, 0, 2}, fourInOrder, {0}},
        {{9, 5, 2}, sparse, {2, 1}},
        {{4, 5, 2}, sparse, {1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(storedInterfaceRows(c.stored, c.entries), c.expected)
            << c.stored.network1 << "," << c.stored.network2 << " nr " << c.stored.nrNetwork;
    }
}

namespace {

struct TestNode {
    int state = 0;
    TestNode* parent = nullptr;
    std::vector<TestNode*> children;
};

class TestTree : public NodeStateTree<TestNode*> {
public:
    TestNode* add(int state, TestNode* parent = nullptr)
    {
        nodes.push_back(std::make_unique<TestNode>(TestNode{state, parent, {}}));
        TestNode* node = nodes.back().get();
        (parent ? parent->children : roots).push_back(node);
        return node;
    }
    std::string states(const std::vector<TestNode*>& list) const
    {
        std::string text;
        for (TestNode* node : list) text += std::to_string(node->state);
        return text;
    }
    int stateIndex(TestNode* node) const override { return node->state; }
    void setStateIndex(TestNode* node, int index) override { node->state = index; }
    std::vector<TestNode*> siblingsOf(TestNode* node) const override
    {
        return node->parent ? node->parent->children : roots;
    }
    std::vector<TestNode*> childrenOf(TestNode* node) const override { return node->children; }

    std::vector<std::unique_ptr<TestNode>> nodes;
    std::vector<TestNode*> roots;
};

}  // namespace

TEST(ToggleNodeState, FlipsCheckBoxesAndMovesRadioSelection)
{
    struct Case {
        std::string siblings;  // state of each top-level node
        size_t toggled;
        std::string expected;
    };
    const Case cases[] = {
        {"12", 0, "22"}, {"12", 1, "11"}, {"3414", 0, "4313"}, {"3414", 1, "3414"},
        {"5", 0, "5"},   {"0", 0, "0"},   {"3324", 1, "3423"},
    };
    for (const Case& c : cases) {
        TestTree tree;
        for (char state : c.siblings) tree.add(state - '0');
        ToggleNodeState<TestNode*>(tree, tree.roots[c.toggled], kDialogStateIndices);
        EXPECT_EQ(tree.states(tree.roots), c.expected) << c.siblings << " toggling " << c.toggled;
    }
}

TEST(ToggleNodeState, DirectChildrenFollowAndRadioStaysAmongSiblings)
{
    TestTree tree;
    TestNode* outside = tree.add(4);
    TestNode* parent = tree.add(1);
    TestNode* child = tree.add(1, parent);
    TestNode* grandchild = tree.add(1, child);
    ToggleNodeState<TestNode*>(tree, parent, kDialogStateIndices);
    EXPECT_EQ(tree.states({parent, child, grandchild}), "221");

    TestNode* radioA = tree.add(4, parent);
    TestNode* radioB = tree.add(3, parent);
    ToggleNodeState<TestNode*>(tree, radioB, kDialogStateIndices);
    EXPECT_EQ(tree.states({child, radioA, radioB, outside}), "2344");
}

TEST(ChooseSettings, RejectsInTheDialogsOrder)
{
    struct Case {
        std::string drives;      // state index per drive node, letters C, D, E...
        std::string interfaces;  // 'x' checked
        const char* title;       // nullptr: accepted
        const char* content;
    };
    const Case cases[] = {
        {"111", "xxx", "Nothing Selected", "Please select at least one drive from the list to monitor."},
        {"222", "xxx", "Invalid Selection", "Please select up to 2 drives to monitor."},
        {"221", "xxx.", "Invalid Selection", "Please select up to 2 network interfaces to monitor."},
        {"", "", "Nothing Selected", "Please select at least one drive from the list to monitor."},
        {"212", "....", nullptr, nullptr},
        {"211", "x.x", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        std::vector<DriveNode> nodes;
        for (size_t i = 0; i < c.drives.size(); ++i) {
            const char letter = static_cast<char>('C' + i);
            nodes.push_back({letter, std::string(1, letter) + ":\\ [ x ]", c.drives[i] - '0'});
        }
        std::vector<bool> checked;
        for (char mark : c.interfaces) checked.push_back(mark == 'x');
        std::string first = "C", second = "D";
        const ApplyChoice choice = chooseSettings(nodes, checked, 5, first, second);
        if (!c.title) {
            EXPECT_FALSE(choice.rejection) << c.drives << " " << c.interfaces;
            continue;
        }
        ASSERT_TRUE(choice.rejection) << c.drives << " " << c.interfaces;
        EXPECT_EQ(choice.rejection->title, c.title);
        EXPECT_EQ(choice.rejection->content, c.content);
    }
}

TEST(ChooseSettings, AcceptedChoiceCarriesTheSevenValues)
{
    auto node = [](char letter, int state) {
        return DriveNode{letter, std::string(1, letter) + ":\\ [ 1 ]", state};
    };
    std::string first = "C", second = "D";
    ApplyChoice choice =
        chooseSettings({node('C', 2), node('D', 2)}, {false, true, false, true}, 60, first, second);
    ASSERT_FALSE(choice.rejection);
    const ChosenSettings& s = choice.settings;
    EXPECT_EQ(std::tie(s.drive1, s.drive2), std::make_tuple(std::string("C"), std::string("D")));
    EXPECT_EQ(std::tie(s.nrDrives, s.nrNetwork, s.network1, s.network2, s.refreshSpeed),
              std::make_tuple(2, 2, 1, 3, 60));

    // Rows that stand for other positions of the monitor's list.
    first = "C";
    choice = chooseSettings({node('C', 2)}, {true, false, true}, 1, first, second, {0, 7, 12});
    EXPECT_EQ(std::tie(choice.settings.nrNetwork, choice.settings.network1, choice.settings.network2),
              std::make_tuple(2, 0, 12));

    // One drive: the second keeps the text the dialog held.
    first = "C";
    second = "E";
    choice = chooseSettings({node('C', 1), node('D', 2)}, {}, 1, first, second);
    EXPECT_EQ(std::tie(choice.settings.drive1, choice.settings.drive2, choice.settings.nrDrives),
              std::make_tuple(std::string("D"), std::string("E"), 1));
    EXPECT_EQ(std::tie(choice.settings.nrNetwork, choice.settings.network1, choice.settings.network2),
              std::make_tuple(0, -1, -1));
    EXPECT_EQ(first, "D");

    // A rejected Apply still takes the node texts; the next Apply keeps them.
    first = "C";
    second = "";
    choice = chooseSettings({node('C', 2), node('D', 2), node('E', 2)}, {}, 1, first, second);
    EXPECT_TRUE(choice.rejection);
    EXPECT_EQ(second, "E:\\ [ 1 ]");
    choice = chooseSettings({node('C', 1), node('D', 2), node('E', 1)}, {}, 1, first, second);
    EXPECT_EQ(choice.settings.drive2, "E");
}

TEST(SettingsAccess, ReadsWithTheDialogsDefaults)
{
    MemoryStore store;
    DialogDriveSettings drives = readDriveSettings(store, {"C", "D"});
    EXPECT_EQ(std::tie(drives.firstDrive, drives.secondDrive),
              std::make_tuple(std::string("C"), std::string("D")));
    EXPECT_EQ(std::tie(drives.nrDrives, drives.refreshSpeed), std::make_tuple(2, 1));
    DialogNetworkSettings network = readNetworkSettings(store);
    EXPECT_EQ(std::tie(network.network1, network.network2, network.nrNetwork), std::make_tuple(-1, -1, 0));
    EXPECT_EQ(store.opens, 2);
    EXPECT_EQ(store.closes, 2);

    store.values = {{"Drive1", ""},    {"Drive2", "E"},   {"NrDrives", "1"}, {"RefreshSpeed", "90"},
                    {"Network1", "3"}, {"Network2", "x"}, {"NrNetwork", "2"}};
    drives = readDriveSettings(store, {"C", "D"});
    EXPECT_EQ(std::tie(drives.firstDrive, drives.secondDrive),
              std::make_tuple(std::string(""), std::string("E")));
    EXPECT_EQ(std::tie(drives.nrDrives, drives.refreshSpeed), std::make_tuple(1, 90));
    network = readNetworkSettings(store);
    EXPECT_EQ(std::tie(network.network1, network.network2, network.nrNetwork), std::make_tuple(3, -1, 2));
}

TEST(SettingsAccess, AValueOfAnotherTypeReadsAsItsDefault)
{
    MemoryStore store;
    store.values = {{"Drive1", "F"}, {"RefreshSpeed", "7"}, {"Network1", "1"}};
    store.wrongType = {"Drive1", "RefreshSpeed", "Network1"};
    const DialogDriveSettings drives = readDriveSettings(store, {"C", "D"});
    EXPECT_EQ(drives.firstDrive, "C");
    EXPECT_EQ(drives.refreshSpeed, 1);
    EXPECT_EQ(readNetworkSettings(store).network1, -1);
}

TEST(SettingsAccess, WritesTheSevenValuesInOrder)
{
    MemoryStore store;
    const ChosenSettings chosen{"C", "D", 2, 2, 1, 3, 60};
    EXPECT_EQ(saveSettings(store, chosen), SaveResult::Saved);
    EXPECT_EQ(store.writes, (std::vector<std::string>{"Drive1=C", "Drive2=D", "NrDrives=2", "NrNetwork=2",
                                                      "Network1=1", "Network2=3", "RefreshSpeed=60"}));
    EXPECT_EQ(store.closes, 1);
}

TEST(SettingsAccess, ReportsAKeyThatCannotBeOpenedOrWritten)
{
    MemoryStore closed;
    closed.openable = false;
    EXPECT_EQ(saveSettings(closed, ChosenSettings{}), SaveResult::KeyNotOpened);
    EXPECT_TRUE(closed.writes.empty());
    EXPECT_EQ(closed.closes, 1);

    MemoryStore refusing;
    refusing.refusedWrite = 2;
    EXPECT_EQ(saveSettings(refusing, ChosenSettings{"C", "", 1, 0, -1, -1, 1}), SaveResult::WriteFailed);
    EXPECT_TRUE(refusing.writes.empty());
    EXPECT_EQ(refusing.closes, 1);
}

// Apply keeps the dialog open with a message for a refused choice and for a
// failed save, and writes nothing then; only a save closes it.
TEST(ApplySettings, ClosesOnlyOnceTheSevenValuesAreWritten)
{
    const std::vector<DriveNode> nodes{{'C', "C:\\ [ x ]", kDialogStateIndices.checked}};
    std::string first = "C";
    std::string second = "D";

    MemoryStore store;
    const std::vector<DriveNode> none{{'C', "C:\\ [ x ]", kDialogStateIndices.unchecked}};
    const auto refused = applySettings(store, none, {}, 5, first, second, {});
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->title, "Nothing Selected");
    EXPECT_TRUE(store.writes.empty());

    MemoryStore closed;
    closed.openable = false;
    const auto notSaved = applySettings(closed, nodes, {}, 5, first, second, {});
    ASSERT_TRUE(notSaved.has_value());
    EXPECT_EQ(notSaved->title, settingsNotSavedMessage().title);

    EXPECT_FALSE(applySettings(store, nodes, {false, true}, 5, first, second, {4, 7}).has_value());
    EXPECT_EQ(store.values["Drive1"], "C");
    EXPECT_EQ(store.values["Network1"], "7");
    EXPECT_EQ(store.values["RefreshSpeed"], "5");
}
