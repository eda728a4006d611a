#include "platform/fakes/FakeIpHelper.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace pelmora {

namespace {

void setOctets(InterfaceRow64& row, uint64_t inOctets, uint64_t outOctets)
{
    row.InOctets = inOctets;
    row.OutOctets = outOctets;
    row.dwInOctets = static_cast<uint32_t>(inOctets);
    row.dwOutOctets = static_cast<uint32_t>(outOctets);
}

}  // namespace

InterfaceRow64 interfaceRow(uint32_t index, const std::string& description, uint64_t speedBitsPerSecond,
                            uint64_t inOctets, uint64_t outOctets)
{
    InterfaceRow64 row{};
    row.dwIndex = index;
    row.TransmitLinkSpeed = row.ReceiveLinkSpeed = speedBitsPerSecond;
    row.dwSpeed = static_cast<uint32_t>(std::min<uint64_t>(speedBitsPerSecond, UINT32_MAX));
    setOctets(row, inOctets, outOctets);
    const size_t length = std::min<size_t>(description.size(), kMaxLenIfDescr - 1);
    std::memcpy(row.bDescr, description.data(), length);
    row.dwDescrLen = static_cast<uint32_t>(length + 1);
    return row;
}

MIB_IPADDRROW addressRow(uint32_t interfaceIndex, uint32_t address)
{
    MIB_IPADDRROW row{};
    row.dwAddr = address;
    row.dwIndex = interfaceIndex;
    row.dwMask = ipv4Address(255, 255, 255, 0);
    return row;
}

uint32_t FakeIpHelper::getIfTable(uint8_t* table, uint32_t* size, bool sorted)
{
    std::lock_guard lock(mutex_);
    interfaceSorted_ = sorted;
    if (size != nullptr && *size == 0) {
        ++interfaceSizeQueries_;
        if (sizeQueryAnswer_ != kErrorInsufficientBuffer) return sizeQueryAnswer_;
        const uint32_t answer = answerTableQuery(interfaces_, table, size);
        if (pendingGrowth_) {
            interfaces_.push_back(*pendingGrowth_);
            pendingGrowth_.reset();
        }
        return answer;
    }
    const uint32_t answer = answerTableQuery(interfaces_, table, size);
    if (answer == kSuccess && extraRows_ > 0) {
        const uint32_t declared = static_cast<uint32_t>(interfaces_.size()) + extraRows_;
        std::memcpy(table, &declared, sizeof declared);
    }
    return answer;
}

uint32_t FakeIpHelper::getIpAddrTable(uint8_t* table, uint32_t* size, bool sorted)
{
    std::lock_guard lock(mutex_);
    addressSorted_ = sorted;
    if (size != nullptr && *size == 0) {
        ++addressSizeQueries_;
        if (lookupsBeforeThrow_ == 0) {
            lookupsBeforeThrow_ = -1;
            throw std::runtime_error("address table unavailable");
        }
        if (lookupsBeforeThrow_ > 0) --lookupsBeforeThrow_;
        if (sizeQueryAnswer_ != kErrorInsufficientBuffer) return sizeQueryAnswer_;
    }
    return answerTableQuery(addresses_, table, size);
}

void FakeIpHelper::setInterfaces(std::vector<InterfaceRow64> rows)
{
    std::lock_guard lock(mutex_);
    interfaces_ = std::move(rows);
}

void FakeIpHelper::addInterface(const InterfaceRow64& row)
{
    std::lock_guard lock(mutex_);
    interfaces_.push_back(row);
}

void FakeIpHelper::removeInterface(uint32_t index)
{
    std::lock_guard lock(mutex_);
    std::erase_if(interfaces_, [&](const InterfaceRow64& row) { return row.dwIndex == index; });
}

void FakeIpHelper::setCounters(uint32_t index, uint64_t inOctets, uint64_t outOctets)
{
    std::lock_guard lock(mutex_);
    for (InterfaceRow64& row : interfaces_) {
        if (row.dwIndex == index) setOctets(row, inOctets, outOctets);
    }
}

void FakeIpHelper::setAddresses(std::vector<MIB_IPADDRROW> rows)
{
    std::lock_guard lock(mutex_);
    addresses_ = std::move(rows);
}

void FakeIpHelper::addAddress(const MIB_IPADDRROW& row)
{
    std::lock_guard lock(mutex_);
    addresses_.push_back(row);
}

void FakeIpHelper::removeAddresses(uint32_t interfaceIndex)
{
    std::lock_guard lock(mutex_);
    std::erase_if(addresses_, [&](const MIB_IPADDRROW& row) { return row.dwIndex == interfaceIndex; });
}

void FakeIpHelper::answerSizeQueriesWith(uint32_t code)
{
    std::lock_guard lock(mutex_);
    sizeQueryAnswer_ = code;
}

void FakeIpHelper::growInterfaceTableAfterNextSizeQuery(const InterfaceRow64& row)
{
    std::lock_guard lock(mutex_);
    pendingGrowth_ = row;
}

void FakeIpHelper::overstateInterfaceRowCount(uint32_t extraRows)
{
    std::lock_guard lock(mutex_);
    extraRows_ = extraRows;
}

void FakeIpHelper::throwOnAddressLookup(int lookups)
{
    std::lock_guard lock(mutex_);
    lookupsBeforeThrow_ = lookups;
}

int FakeIpHelper::interfaceSizeQueries() const
{
    std::lock_guard lock(mutex_);
    return interfaceSizeQueries_;
}

int FakeIpHelper::addressSizeQueries() const
{
    std::lock_guard lock(mutex_);
    return addressSizeQueries_;
}

std::optional<bool> FakeIpHelper::lastInterfaceSortRequest() const
{
    std::lock_guard lock(mutex_);
    return interfaceSorted_;
}

std::optional<bool> FakeIpHelper::lastAddressSortRequest() const
{
    std::lock_guard lock(mutex_);
    return addressSorted_;
}

uint32_t GatedIpHelper::getIfTable(uint8_t* table, uint32_t* size, bool sorted)
{
    if (size != nullptr && *size == 0) {
        std::unique_lock lock(mutex_);
        const int pass = ++passesStarted_;
        changed_.notify_all();
        changed_.wait(lock, [&] { return open_ || pass <= passesAllowed_; });
    }
    return inner_.getIfTable(table, size, sorted);
}

uint32_t GatedIpHelper::getIpAddrTable(uint8_t* table, uint32_t* size, bool sorted)
{
    return inner_.getIpAddrTable(table, size, sorted);
}

bool GatedIpHelper::runPass(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    const int pass = ++passesAllowed_;
    changed_.notify_all();
    return changed_.wait_for(lock, timeout, [&] { return passesStarted_ > pass; });
}

void GatedIpHelper::open()
{
    {
        std::lock_guard lock(mutex_);
        open_ = true;
    }
    changed_.notify_all();
}

}  // namespace pelmora
