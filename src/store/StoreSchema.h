#pragma once

#include <span>

// The fifteen statements that give a new settings database its tables and indexes, in the order
// they run: t_configdata, t_profile_data and profileindex, then t_key_macro_data, t_key_otherdata,
// t_macro_data, t_macrorecord, t_light_data and t_key_light_data, each followed by its index.
// SQLite keeps each text (less "IF NOT EXISTS") as the object's definition in sqlite_master.
std::span<const char* const> SchemaStatements();
