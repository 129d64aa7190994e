// WmiAdapterSource against the system's own WMI service (Wine's under ctest).
#include "inventory/wmi/wmi_adapter_source.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <wbemidl.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/error.h"
#include "support/win32/ip_helper_adapters.h"

namespace {

using quorvane::AdapterObject;
using quorvane::Error;
using quorvane::ErrorKind;
using quorvane::kAdapterConfigurationClass;
using quorvane::Value;
using quorvane::wmi::WmiAdapterSource;

// The properties the rows are made of.
constexpr const char16_t* kRowProperties[] = {
    u"Index",        u"MACAddress",          u"IPEnabled",
    u"IPAddress",    u"DHCPEnabled",         u"DHCPServer",
    u"DHCPLeaseObtained", u"DHCPLeaseExpires", u"DNSEnabledForWINSResolution",
    u"DNSHostName",  u"DNSDomain",           u"Description",
    u"DNSServerSearchOrder",
};

std::vector<std::unique_ptr<AdapterObject>> AllConfigurations(WmiAdapterSource& source) {
    std::vector<std::unique_ptr<AdapterObject>> all;
    auto instances = source.InstancesOf(kAdapterConfigurationClass);
    while (auto object = instances->Next()) all.push_back(std::move(object));
    EXPECT_EQ(instances->Next(), nullptr) << "the end of the enumeration stays the end";
    return all;
}

// Six hex pairs joined by ":". Windows writes the digits upper-case, Wine
// lower-case, so either passes here and comparisons go through UpperCase.
bool IsMacText(const std::u16string& s) {
    if (s.size() != 17) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        const bool hex = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
        if (i % 3 == 2 ? c != u':' : !hex) return false;
    }
    return true;
}

std::u16string UpperCase(std::u16string s) {
    for (char16_t& c : s) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return s;
}

std::string Narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

std::string Describe(const Value& v) {
    const auto& s = v.storage();
    if (v.IsNull()) return "Null";
    if (std::holds_alternative<bool>(s)) return "Boolean";
    if (std::holds_alternative<std::int64_t>(s)) return "integer";
    if (std::holds_alternative<std::u16string>(s)) return "text";
    return "array";
}

TEST(WmiAdapterSource, ListsAdapterConfigurationsWithIntegerIndexAndMacText) {
    WmiAdapterSource source;
    const auto all = AllConfigurations(source);
    ASSERT_GE(all.size(), 1u);
    std::vector<std::int64_t> indices;
    for (const auto& object : all) {
        const Value index = object->Read(u"Index");
        ASSERT_TRUE(std::holds_alternative<std::int64_t>(index.storage())) << Describe(index);
        indices.push_back(std::get<std::int64_t>(index.storage()));

        const Value mac = object->Read(u"MACAddress");
        if (mac.IsNull()) continue;  // e.g. a loopback adapter
        ASSERT_TRUE(std::holds_alternative<std::u16string>(mac.storage())) << Describe(mac);
        EXPECT_TRUE(IsMacText(std::get<std::u16string>(mac.storage())))
            << Narrow(std::get<std::u16string>(mac.storage()));
    }
    std::sort(indices.begin(), indices.end());
    EXPECT_EQ(std::adjacent_find(indices.begin(), indices.end()), indices.end()) << "indices are unique";
}

TEST(WmiAdapterSource, AgreesWithIpHelperOnTheAdaptersThatHaveAMac) {
    WmiAdapterSource source;
    std::vector<std::u16string> wmiMacs;
    for (const auto& object : AllConfigurations(source)) {
        const Value mac = object->Read(u"MACAddress");
        if (!mac.IsNull()) wmiMacs.push_back(UpperCase(std::get<std::u16string>(mac.storage())));
    }
    std::sort(wmiMacs.begin(), wmiMacs.end());
    const std::vector<std::u16string> ipHelperMacs = quorvane::wmi::testing::IpHelperMacAddresses();
    EXPECT_EQ(wmiMacs.size(), ipHelperMacs.size());
    EXPECT_EQ(wmiMacs, ipHelperMacs);
}

// Reads every row property of every adapter: each read either gives a value
// of the kind WMI documents for it or fails with the Platform error (Wine's
// service lacks some). Prints which, for the notes on Wine.
TEST(WmiAdapterSource, EachRowPropertyReadsAsItsKindOrFailsAsPlatformError) {
    WmiAdapterSource source;
    const auto all = AllConfigurations(source);
    ASSERT_GE(all.size(), 1u);
    for (const char16_t* property : kRowProperties) {
        std::string seen;
        for (const auto& object : all) {
            std::string kind;
            try {
                kind = Describe(object->Read(property));
            } catch (const Error& e) {
                EXPECT_EQ(e.kind(), ErrorKind::Platform) << e.what();
                EXPECT_EQ(e.platformCode(), static_cast<HRESULT>(WBEM_E_NOT_FOUND)) << e.what();
                kind = "fails";
            }
            if (seen.find(kind) == std::string::npos) seen += (seen.empty() ? "" : "/") + kind;
        }
        const std::u16string_view name(property);
        const bool isArray = name == u"IPAddress" || name == u"DNSServerSearchOrder";
        const bool isFlag = name == u"IPEnabled" || name == u"DHCPEnabled" || name == u"DNSEnabledForWINSResolution";
        for (const std::string part : {"integer", "text", "Boolean", "array"}) {
            if (seen.find(part) == std::string::npos) continue;
            const bool expected = (part == "integer" && name == u"Index") || (part == "array" && isArray) ||
                                  (part == "Boolean" && isFlag) ||
                                  (part == "text" && !isArray && !isFlag && name != u"Index");
            EXPECT_TRUE(expected) << Narrow(name) << " read as " << part;
        }
        std::cout << "[ property ] " << Narrow(name) << ": " << seen << '\n';
    }
}

TEST(WmiAdapterSource, APropertyTheClassLacksFailsWithPlatformError) {
    WmiAdapterSource source;
    auto instances = source.InstancesOf(kAdapterConfigurationClass);
    const auto object = instances->Next();
    ASSERT_NE(object, nullptr);
    try {
        (void)object->Read(u"NoSuchProperty");
        FAIL() << "read of a missing property succeeded";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Platform);
        EXPECT_EQ(e.platformCode(), static_cast<HRESULT>(WBEM_E_NOT_FOUND));
        EXPECT_NE(std::string(e.what()).find("NoSuchProperty"), std::string::npos) << e.what();
    }
    EXPECT_THROW((void)object->Read(std::u16string_view(u"Index\0x", 7)), Error);
    EXPECT_NO_THROW((void)object->Read(u"Index")) << "a failed read leaves the object usable";
}

TEST(WmiAdapterSource, AnUnknownClassFailsWithAnError) {
    WmiAdapterSource source;
    EXPECT_THROW(
        {
            auto instances = source.InstancesOf(u"Win32_NoSuchClassAnywhere");
            while (instances->Next()) {
            }
        },
        Error);
    EXPECT_THROW((void)source.InstancesOf(std::u16string_view(u"Win32_NetworkAdapterConfiguration\0x", 35)), Error);
    // The source is still good for the next listing.
    EXPECT_GE(AllConfigurations(source).size(), 1u);
}

TEST(WmiAdapterSource, ListingTwiceGivesTheSameAdaptersInTheSameOrder) {
    WmiAdapterSource source;
    std::vector<Value> first;
    std::vector<Value> second;
    for (const auto& object : AllConfigurations(source)) first.push_back(object->Read(u"Index"));
    for (const auto& object : AllConfigurations(source)) second.push_back(object->Read(u"Index"));
    EXPECT_EQ(first, second);
}

// What the COM reference count of a thread is: CoInitializeEx answers S_OK
// when COM was not initialised there, S_FALSE when it was.
HRESULT ProbeAndUndo(DWORD model) {
    const HRESULT hr = ::CoInitializeEx(nullptr, model);
    if (SUCCEEDED(hr)) ::CoUninitialize();
    return hr;
}

TEST(WmiAdapterSource, BalancesComInitialisationOnEveryKindOfThread) {
    std::thread([] {
        {
            WmiAdapterSource source;
            EXPECT_GE(AllConfigurations(source).size(), 1u);
        }
        EXPECT_EQ(ProbeAndUndo(COINIT_APARTMENTTHREADED), S_OK) << "COM left initialised behind the source";
    }).join();

    std::thread([] {
        ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        {
            WmiAdapterSource source;
            EXPECT_GE(AllConfigurations(source).size(), 1u);
        }
        EXPECT_EQ(ProbeAndUndo(COINIT_APARTMENTTHREADED), S_FALSE) << "the thread's own initialisation was undone";
        ::CoUninitialize();
    }).join();

    std::thread([] {
        ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            WmiAdapterSource source;
            EXPECT_GE(AllConfigurations(source).size(), 1u) << "a multithreaded apartment serves as well";
        }
        EXPECT_EQ(ProbeAndUndo(COINIT_MULTITHREADED), S_FALSE) << "the thread's own initialisation was undone";
        ::CoUninitialize();
    }).join();
}

TEST(WmiAdapterSource, ObjectsOutliveTheSourceThatListedThem) {
    std::unique_ptr<AdapterObject> kept;
    {
        WmiAdapterSource source;
        kept = source.InstancesOf(kAdapterConfigurationClass)->Next();
    }
    ASSERT_NE(kept, nullptr);
    EXPECT_FALSE(kept->Read(u"Index").IsNull());
}

}  // namespace
