#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/linux/LinuxNames.h"

using namespace pelmora;

namespace {

std::string namesFixture(const char* name)
{
    return std::string(PELMORA_FIXTURES) + "/names/" + name;
}

bool shortHost(std::string& name)
{
    return name = "lab7", true;
}
bool qualifiedHost(std::string& name)
{
    return name = "lab7.branch.example.org", true;
}
bool noHost(std::string&)
{
    return false;
}

std::string workgroupOf(const std::string& conf)
{
    return sambaWorkgroup(conf);
}

}  // namespace

TEST(ComputerName, IsTheHostNameUpToItsFirstDotAndFifteenCharacters)
{
    EXPECT_EQ(shortComputerName("lab7"), "lab7");
    EXPECT_EQ(shortComputerName("lab7.corp.example.com"), "lab7");
    EXPECT_EQ(shortComputerName("build-server-number-12"), "build-server-nu");
    EXPECT_EQ(shortComputerName("exactly15chars!"), "exactly15chars!");
    EXPECT_EQ(shortComputerName(".odd"), "");
    EXPECT_EQ(shortComputerName(""), "");
}

TEST(SambaWorkgroup, ReadsOnlyTheGlobalSection)
{
    EXPECT_EQ(workgroupOf("[global]\n workgroup = OFFICE\n"), "OFFICE");
    EXPECT_EQ(workgroupOf("workgroup = BEFORE-ANY-SECTION\n"), "BEFORE-ANY-SECTION");
    EXPECT_EQ(workgroupOf("[homes]\n workgroup = SHARE\n"), "");
    EXPECT_EQ(workgroupOf("[global]\n;workgroup = NO\n#workgroup = NO\n"), "");
    EXPECT_EQ(workgroupOf("[global]\nWORKGROUP=A\n[x]\n[ Global ]\nwork group = B\n"), "B");  // the last wins
    EXPECT_EQ(workgroupOf("[global]\nworkgroups = NO\nworkgroup\n"), "");
    EXPECT_EQ(workgroupOf("[global]\nworkgroup = \\\n  SPLIT\n"), "SPLIT");
    EXPECT_EQ(workgroupOf("[global\nworkgroup = UNCLOSED\n"), "UNCLOSED");
    EXPECT_EQ(workgroupOf(""), "");
}

TEST(HostsDomain, TakesTheDomainOfTheHostsOwnLine)
{
    const std::string hosts =
        "127.0.0.1 localhost\n127.0.1.1\tlab7.corp.example.com  lab7 # me\n"
        "10.0.0.9 lab8.other.example.com lab8\n";
    EXPECT_EQ(hostsFileDomain(hosts, "lab7"), "corp.example.com");
    const std::string other =
        "10.0.0.9 lab8.other.example.com lab8\n10.0.0.7 lab7\n#1.2.3.4 lab7.commented.org lab7\n";
    EXPECT_EQ(hostsFileDomain(other, "lab7"), "");
    const std::string caseless = "127.0.1.1 LAB7.Corp.Example.com LAB7";  // no line end
    EXPECT_EQ(hostsFileDomain(caseless, "lab7"), "Corp.Example.com");
}

TEST(LinuxNames, WorkgroupFallsBackFromSambaToTheDnsDomain)
{
    struct Case {
        const char* fixture;
        LinuxNames::HostNameSource host;
        const char* workgroup;
    } cases[] = {
        {"samba-workgroup", shortHost, "OFFICE"},
        {"samba-workgroup", noHost, "OFFICE"},
        {"samba-continued", shortHost, "ENGINEERING"},
        {"samba-without-workgroup", shortHost, "corp.example.com"},
        {"hosts-domain", shortHost, "corp.example.com"},
        {"hosts-domain", qualifiedHost, "branch.example.org"},  // the host's own name first
        {"no-domain", shortHost, ""},
        {"no-domain", noHost, ""},
        {"no-such-machine", shortHost, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinuxNames(namesFixture(c.fixture), c.host).workgroup(), c.workgroup) << c.fixture;
}

TEST(LinuxNames, ComputerAndUserNamesOfThisMachine)
{
    LinuxNames names;
    std::string computer, user;
    ASSERT_TRUE(names.computerName(computer));
    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(computer, shortComputerName(host));
    ASSERT_TRUE(names.userName(user));
    EXPECT_FALSE(user.empty());

    std::string untouched = "kept";
    EXPECT_FALSE(LinuxNames("/", noHost).computerName(untouched));
    EXPECT_EQ(untouched, "kept");
}
