# The version checks, the installer download and the firmware update end to end, against a local
# HTTP server serving zip archives the tests make (ZipWriter.h) and a virtual mouse's loader.
list(APPEND KESTREL_UPDATE_TESTS
    ${CMAKE_CURRENT_LIST_DIR}/VersionCheckTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/InstallerUpdateTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FirmwareUpdateTest.cpp
)
