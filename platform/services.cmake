# System services of the platform layer: modal dialogs and message boxes
# (curses on a terminal, text on standard error otherwise) and program start
# by an argument list or a Windows-style command line (split and joined by
# windows_command_line.cpp, which regedit shares). On Windows the system
# starts programs and shows message boxes itself.
if(WIN32)
  target_sources(orvane_platform_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/dialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialog_terminal_windows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/process_start_windows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/module_folder_windows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows_command_line.cpp)
  return()
endif()

set(CURSES_NEED_WIDE TRUE)
find_package(Curses REQUIRED)
target_sources(orvane_platform_objects PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_terminal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process_start.cpp
  ${CMAKE_CURRENT_LIST_DIR}/windows_command_line.cpp)
target_include_directories(orvane_platform_objects PRIVATE ${CURSES_INCLUDE_DIRS})
target_link_libraries(RegistryEditor PRIVATE ${CURSES_LIBRARIES})
