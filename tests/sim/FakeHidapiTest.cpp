// The hidapi stand-in: the C functions over a VirtualHidBackend, as code written for hidapi
// calls them.

#include <gtest/gtest.h>
#include <hidapi/hidapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "SimExchange.h"
#include "sim/FakeHidapi.h"
#include "sim/VirtualHidBackend.h"

namespace {

using namespace simtest;

class FakeHidapiTest : public testing::Test {
protected:
    void SetUp() override {
        SetFakeHidapiBackend(&backend_);
        ASSERT_EQ(hid_init(), 0);
    }
    void TearDown() override {
        hid_exit();
        SetFakeHidapiBackend(nullptr);
    }

    sim::VirtualHidBackend backend_;
};

TEST_F(FakeHidapiTest, EnumerationListsEveryInterfaceWithItsFields) {
    AddTestConnection(backend_, 0);
    AddTestConnection(backend_, 1);

    hid_device_info* list = hid_enumerate(0, 0);
    std::vector<hid_device_info> items;
    for (hid_device_info* item = list; item != nullptr; item = item->next) {
        items.push_back(*item);
    }
    ASSERT_EQ(items.size(), 6u);
    EXPECT_STREQ(items[2].path, "sim:1:2");
    EXPECT_EQ(items[2].vendor_id, 0x3E7A);
    EXPECT_EQ(items[2].product_id, 0x0C02);
    EXPECT_EQ(items[2].release_number, 0x0103);
    EXPECT_EQ(items[2].usage_page, 0x0001);
    EXPECT_EQ(items[2].usage, 0x0000);
    EXPECT_EQ(items[2].interface_number, 2);
    EXPECT_STREQ(items[2].product_string, L"Test Mouse");
    EXPECT_EQ(items[4].usage_page, 0xFFEF);
    EXPECT_STREQ(items[5].product_string, L"Test Receiver");
    EXPECT_EQ(items[5].release_number, 0x0101);
    hid_free_enumeration(list);

    list = hid_enumerate(0x3E7A, 0x0C03);
    int count = 0;
    for (hid_device_info* item = list; item != nullptr; item = item->next) {
        EXPECT_EQ(item->product_id, 0x0C03);
        ++count;
    }
    EXPECT_EQ(count, 3);
    hid_free_enumeration(list);
    EXPECT_EQ(hid_enumerate(0x1234, 0), nullptr);
}

TEST_F(FakeHidapiTest, OpenWriteReadAndProductStringThroughTheCInterface) {
    sim::VirtualConnection& connection = AddTestConnection(backend_, 0);
    hid_device* device = hid_open_path("sim:1:2");
    ASSERT_NE(device, nullptr);

    wchar_t product[512];
    ASSERT_EQ(hid_get_product_string(device, product, 512), 0);
    EXPECT_STREQ(product, L"Test Mouse");
    wchar_t tiny[5];
    ASSERT_EQ(hid_get_product_string(device, tiny, 5), 0);
    EXPECT_STREQ(tiny, L"Test");

    const Request65 request = Write(0x02, 1, {0x10});
    ASSERT_EQ(hid_write(device, request.data(), 65), 65);
    unsigned char reply[65] = {};
    ASSERT_EQ(hid_read_timeout(device, reply, 33, kPatientMs), 33);
    EXPECT_EQ(reply[0], 0x02);
    EXPECT_EQ(reply[1], 0x00);
    EXPECT_EQ(connection.Mouse().Settings().reportRate, 0x10);
    EXPECT_EQ(hid_read_timeout(device, reply, 33, 10), 0) << "nothing more";

    connection.Unplug();
    EXPECT_EQ(hid_write(device, request.data(), 33), -1);
    EXPECT_NE(std::wstring(hid_error(device)), L"Success");
    EXPECT_EQ(hid_read_timeout(device, reply, 33, 10), -1);
    EXPECT_EQ(hid_get_product_string(device, product, 512), -1);
    hid_close(device);

    EXPECT_EQ(hid_open_path("sim:1:2"), nullptr) << "unplugged";
    EXPECT_EQ(hid_open_path("no such path"), nullptr);
    EXPECT_NE(std::wstring(hid_error(nullptr)), L"Success");
}

TEST(FakeHidapi, WithoutABackendThereIsNothing) {
    SetFakeHidapiBackend(nullptr);
    EXPECT_EQ(hid_enumerate(0, 0), nullptr);
    EXPECT_EQ(hid_open_path("sim:1:2"), nullptr);
    hid_free_enumeration(nullptr);
}

}  // namespace
