#include "store/DefaultConfig.h"

namespace {

// Colours are COLORREF values (0x00BBGGRR) as decimal text.
constexpr ConfigKeyDefault kDefaults[] = {
    {u"version", u"1.0.1"},
    {u"lightmode", u"3"},
    {u"sleep_light", u"1"},
    {u"move_wakeup", u"0"},
    {u"move_closelight", u"0"},
    {u"report_rate", u"2"},
    {u"report_rate_wireless", u"1"},
    {u"report_count", u"4"},
    {u"report_flag", u"127"},
    {u"button_respondtime", u"8"},
    {u"sensor_flag", u"53"},
    {u"liftoff_height", u"1"},
    {u"scroll_flag", u"1"},
    {u"e-sports_flag", u"0"},
    {u"leftbtn_lock", u"1"},
    {u"dpi_flag", u"6"},
    {u"dpi_index", u"1"},
    {u"dpi_count", u"6"},
    {u"dpi_group0_value", u"800"},
    {u"dpi_group1_value", u"1600"},
    {u"dpi_group2_value", u"2400"},
    {u"dpi_group3_value", u"3200"},
    {u"dpi_group4_value", u"6400"},
    {u"dpi_group5_value", u"26000"},
    {u"dpi_group6_value", u"26000"},
    {u"dpi_group7_value", u"0"},
    {u"dpi_group0_rgb", u"255"},
    {u"dpi_group1_rgb", u"16711680"},
    {u"dpi_group2_rgb", u"65280"},
    {u"dpi_group3_rgb", u"65535"},
    {u"dpi_group4_rgb", u"16711935"},
    {u"dpi_group5_rgb", u"16776960"},
    {u"dpi_group6_rgb", u"16712191"},
    {u"dpi_group7_rgb", u"16777215"},
    {u"dpi_group8_rgb", u"2139135"},
    {u"mouse_speed", u"10"},
    {u"mouse_sensitivity", u"1"},
    {u"wheel_scrollflag", u"0"},
    {u"wheel_scrolllines", u"3"},
    {u"doubleclick_time", u"550"},
};

}  // namespace

std::span<const ConfigKeyDefault> DefaultConfigKeys() {
    return kDefaults;
}
