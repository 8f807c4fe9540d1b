#pragma once

#include <string>

// In-memory forms of the rows of the settings database. Field names are the column names; text
// fields hold the program's UTF-16 strings (UTF-8 in the database).

// One row of t_profile_data (columns: profile, name, status, app, type).
struct ProfileRecord {
    int profile = 0;
    std::u16string name;
    std::u16string app;
    int type = 0;
    int status = 0;  // 1 for the active profile

    friend bool operator==(const ProfileRecord&, const ProfileRecord&) = default;
};

// One row of t_key_macro_data; columns in field order.
struct KeyAssignmentRecord {
    int key_id = 0;
    int profile = 0;
    int fn_layer = 0;  // always 0 in this program
    int key_code = 0;
    int layout_value = 0;
    std::u16string layout_desc;
    int macro_type = 0;
    int macro_value = 0;
    int macro_value2 = 0;
    int macro_value3 = 0;
    std::u16string macro_desc;

    friend bool operator==(const KeyAssignmentRecord&, const KeyAssignmentRecord&) = default;
};

// One row of t_light_data; columns in field order. Colours are 0x00BBGGRR.
struct LightModeRecord {
    int light_id = 0;
    int profile = 0;
    std::u16string name;
    int mode = 0;
    int brightness = 0;
    int speed = 0;
    int direction = 0;
    int colorful = 0;
    int colorindex = 0;
    int color_value1 = 0;
    int color_value2 = 0;
    int color_value3 = 0;
    int color_value4 = 0;
    int color_value5 = 0;
    int color_value6 = 0;
    int color_value7 = 0;
    int config_func = 0;
    int reserved = 0;  // language text id of the mode's display name
    int status = 0;    // 1 for the profile's active mode

    friend bool operator==(const LightModeRecord&, const LightModeRecord&) = default;
};

// One row of t_macro_data; columns in field order. Macros are shared by all profiles.
struct MacroRecord {
    int macro_id = 0;
    std::u16string name;
    int play_type = 0;
    int play_times = 0;
    int delay_type = 0;
    int delay_time = 0;

    friend bool operator==(const MacroRecord&, const MacroRecord&) = default;
};

// One row of t_macrorecord. The columns are in another order: record_id, macro_id, type,
// record_index, desc, value, delay_time.
struct MacroEventRecord {
    int record_id = 0;
    int macro_id = 0;
    int type = 0;
    int record_index = 0;  // playback order
    int value = 0;
    int delay_time = 0;
    std::u16string desc;

    friend bool operator==(const MacroEventRecord&, const MacroEventRecord&) = default;
};
