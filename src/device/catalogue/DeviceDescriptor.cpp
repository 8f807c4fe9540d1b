#include "device/catalogue/DeviceDescriptor.h"

#include "device/catalogue/CalloutRect.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "text/Utf.h"
#include "xml/XmlDocument.h"

namespace {

bool IsOne(const std::u16string& text) {
    return DecimalToInt(text) == 1;
}

}  // namespace

std::u16string DeviceDescriptor::PathFor(const std::filesystem::path& exeFolder,
                                         std::u16string_view deviceAttr) {
    return FromUtf8((exeFolder / "device" / (ToUtf8(deviceAttr) + ".xml")).string());
}

bool DeviceDescriptor::Load(const std::u16string& path) {
    XmlDocument document;
    if (!document.LoadFile(path) || !document.FindElement(u"mouse")) {
        return false;
    }
    document.EnterElement();

    // Siblings are searched forward only, so each element is looked for after the one before it;
    // one that is absent leaves the cursor where it was.
    if (document.FindElement(u"image_file")) {
        mouseImage_ = document.GetAttribute(u"mouse_img");
    }
    if (document.FindElement(u"menu")) {
        light_ = IsOne(document.GetAttribute(u"light"));
    }
    if (document.FindElement(u"custom")) {
        showDpiTips_ = IsOne(document.GetAttribute(u"show_dpitips"));
        showSaveTips_ = IsOne(document.GetAttribute(u"show_savetips"));
        showLod_ = IsOne(document.GetAttribute(u"show_lod"));
        showSensor_ = IsOne(document.GetAttribute(u"show_sensor"));
    }
    if (document.FindElement(u"firmware")) {
        firmwareUrl_ = document.GetAttribute(u"url");
    }
    if (document.FindElement(u"mouse_key")) {
        buttons_.clear();
        defaults_.clear();
        document.EnterElement();
        while (document.FindElement(u"key")) {
            DescriptorButton button;
            const std::u16string name = document.GetAttribute(u"name");
            const std::u16string description = document.GetAttribute(u"func_desc");
            button.nameTextId = DecimalToInt(name);
            button.keyValue = DecimalToInt(document.GetAttribute(u"key_value"));
            button.direction = DecimalToInt(document.GetAttribute(u"direction"));
            const CalloutRect rect = ParseCalloutRect(document.GetAttribute(u"rect"));
            button.from = {rect.a, rect.c};
            button.to = {rect.b, rect.c};
            button.descriptionTextId = DecimalToInt(description);
            buttons_.push_back(button);

            DefaultAssignment assignment;
            assignment.buttonIndex = button.keyValue;
            assignment.keyCode = button.keyValue;
            assignment.type = DecimalToInt(document.GetAttribute(u"func_type"));
            assignment.value = DecimalToInt(document.GetAttribute(u"func_value"));
            assignment.name = name;
            assignment.description = description;
            defaults_.push_back(std::move(assignment));
        }
        document.LeaveElement();
    }
    if (document.FindElement(u"mouse_info")) {
        document.EnterElement();
        // The defaults readers look for their own elements from the start of `mouse_info`, so
        // `light_info` may stand anywhere among them.
        if (document.FindElement(u"light_info")) {
            document.EnterElement();
            for (int zone = 0; zone < kLightZoneCount; ++zone) {
                if (document.FindElement(Format(u"light_%d", zone + 1))) {
                    lightZones_[zone] = IsOne(document.GetAttribute(u"enable"));
                }
            }
            document.LeaveElement();
        }
        document.LeaveElement();
    }
    return true;
}
