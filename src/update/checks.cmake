# The version checks, and the installer and firmware updates built on the fetches and archives.
target_sources(kestrel_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/FirmwareUpdate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/InstallerUpdate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UpdateFiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VersionCheck.cpp
)
