#include "device/catalogue/DeviceCatalog.h"

#include "text/Numbers.h"
#include "text/Utf.h"
#include "xml/XmlDocument.h"

namespace {

// Reads the attribute `name` of the element under the cursor into `out` when that element is the
// next sibling called `element`; leaves `out` as it is otherwise.
void ReadChildAttribute(XmlDocument& document, const char16_t* element, const char16_t* name,
                        std::u16string& out) {
    if (document.FindElement(element)) {
        out = document.GetAttribute(name);
    }
}

}  // namespace

void DeviceCatalog::Clear() {
    models_.clear();
    connections_.clear();
    software_ = {};
}

bool DeviceCatalog::LoadDeviceList(const std::filesystem::path& exeFolder,
                                   const std::u16string& skinFolder) {
    Clear();

    XmlDocument document;
    if (!document.LoadFile(FromUtf8((exeFolder / "config.xml").string())) ||
        !document.FindElement(u"config")) {
        return false;
    }
    document.EnterElement();

    if (document.FindElement(u"device")) {
        document.EnterElement();
        while (document.FindElement(u"mouse")) {
            DeviceEntry model;
            model.name = document.GetAttribute(u"name");
            model.deviceType = DecimalToInt(document.GetAttribute(u"device_type"));
            model.deviceAttr = document.GetAttribute(u"device_attr");
            model.picturePath = skinFolder + u"device/" + document.GetAttribute(u"image");
            models_.push_back(model);

            document.EnterElement();
            while (document.FindElement(u"mode")) {
                DeviceEntry connection = model;
                connection.mode = DecimalToInt(document.GetAttribute(u"value"));
                connection.description = document.GetAttribute(u"desc");
                connection.vendorId = HexToUInt(document.GetAttribute(u"vid"));
                connection.productId = HexToUInt(document.GetAttribute(u"pid"));
                connection.deviceId = document.GetAttribute(u"dev_id");
                connection.hidInterface = document.GetAttribute(u"hid_interface");
                connections_.push_back(std::move(connection));
            }
            document.LeaveElement();
        }
        document.LeaveElement();
    }

    if (document.FindElement(u"software")) {
        software_.version = document.GetAttribute(u"version");
        document.EnterElement();
        ReadChildAttribute(document, u"website", u"url", software_.websiteUrl);
        ReadChildAttribute(document, u"feedback", u"url", software_.feedbackUrl);
        ReadChildAttribute(document, u"qa", u"url", software_.qaUrl);
        ReadChildAttribute(document, u"store", u"url", software_.storeUrl);
        ReadChildAttribute(document, u"upgrade", u"url", software_.upgradeUrl);
        ReadChildAttribute(document, u"copyright", u"info", software_.copyright);
        document.LeaveElement();
    }
    return true;
}

const DeviceEntry* DeviceCatalog::FindModel(int deviceType) const {
    for (const DeviceEntry& model : models_) {
        if (model.deviceType == deviceType) {
            return &model;
        }
    }
    return nullptr;
}

std::vector<DeviceIdentity> DeviceCatalog::Identities() const {
    std::vector<DeviceIdentity> identities;
    identities.reserve(connections_.size());
    for (const DeviceEntry& connection : connections_) {
        identities.push_back({connection.vendorId, connection.productId, u"", connection.deviceType,
                              connection.mode, connection.deviceId});
    }
    return identities;
}
