# The program kestrel: the entry and the start-up order, the scripted mode, the headless and the
# Qt run. Included from src/CMakeLists.txt after the modules, since it needs the hidapi backend
# and (when built) the Qt backend.
find_package(PkgConfig)
if(PkgConfig_FOUND)
    pkg_check_modules(KESTREL_HIDAPI_HIDRAW IMPORTED_TARGET hidapi-hidraw)
endif()

if(TARGET kestrel_cli AND TARGET PkgConfig::KESTREL_HIDAPI_HIDRAW)
    add_library(kestrel_program STATIC
        ${CMAKE_CURRENT_LIST_DIR}/HeadlessProgramUi.cpp
        ${CMAKE_CURRENT_LIST_DIR}/KestrelProgram.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ProgramExit.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ProgramOptions.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ScriptRunner.cpp
    )
    target_link_libraries(kestrel_program PUBLIC kestrel_cli kestrel_hidapi kestrel_core
                          PkgConfig::KESTREL_HIDAPI_HIDRAW)

    add_executable(kestrel ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
    target_link_libraries(kestrel PRIVATE kestrel_program)
    target_compile_definitions(kestrel PRIVATE KESTREL_VERSION="${PROJECT_VERSION}")
    if(TARGET kestrel_qt)
        target_sources(kestrel PRIVATE ${CMAKE_CURRENT_LIST_DIR}/QtProgramUi.cpp)
        target_compile_definitions(kestrel PRIVATE KESTREL_WITH_QT)
        target_link_libraries(kestrel PRIVATE kestrel_qt)
    endif()
    if(TARGET kestrel_data)
        add_dependencies(kestrel kestrel_data)
    endif()
    install(TARGETS kestrel RUNTIME DESTINATION ${KESTREL_INSTALL_PROGRAM_DIR})
else()
    message(WARNING "hidapi-hidraw not found (Debian: libhidapi-dev): kestrel is not built")
endif()
