# What `cmake --install` puts under the prefix, by CPack component:
#   library      liborvane.so.1 (shared builds)
#   development  headers, liborvane.so / liborvane.a, the CMake package
#                Orvane (Orvane::RegistryEditor) and orvane.pc
#   programs     quorvel, orvane-regedit, orvane-reg, orvane-registry-admin
#                and their manual pages
# Everything installed finds its files relative to itself, so a tree
# installed with --prefix anywhere works where it lands.
include(CMakePackageConfigHelpers)

# Programs and the Python module find liborvane through a path relative to
# themselves, except under /usr, where the system's search path has it.
set(ORVANE_SYSTEM_PREFIX OFF)
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(ORVANE_SYSTEM_PREFIX ON)
endif()
function(orvane_install_rpath target from_dir)
  if(ORVANE_SYSTEM_PREFIX OR NOT BUILD_SHARED_LIBS)
    return()
  endif()
  file(RELATIVE_PATH to_lib /${from_dir} /${CMAKE_INSTALL_LIBDIR})
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${to_lib}")
endfunction()

target_compile_features(RegistryEditor PUBLIC cxx_std_20)
install(TARGETS RegistryEditor EXPORT OrvaneTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT library NAMELINK_COMPONENT development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT library)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/orvane ${PROJECT_BINARY_DIR}/include/orvane
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)

set(ORVANE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Orvane)
install(EXPORT OrvaneTargets NAMESPACE Orvane:: DESTINATION ${ORVANE_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/OrvaneConfig.cmake.in
  ${PROJECT_BINARY_DIR}/OrvaneConfig.cmake INSTALL_DESTINATION ${ORVANE_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/OrvaneConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/OrvaneConfig.cmake ${PROJECT_BINARY_DIR}/OrvaneConfigVersion.cmake
  DESTINATION ${ORVANE_CMAKE_DIR} COMPONENT development)

# orvane.pc names its prefix relative to its own folder. A static library
# also needs what liborvane itself links.
file(RELATIVE_PATH ORVANE_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" ORVANE_PC_TO_PREFIX "${ORVANE_PC_TO_PREFIX}")
set(ORVANE_PC_REQUIRES_PRIVATE "")
set(ORVANE_PC_LIBS_PRIVATE "")
if(NOT BUILD_SHARED_LIBS)
  set(ORVANE_PC_REQUIRES_PRIVATE "Requires.private: sqlite3 ncursesw")
  set(ORVANE_PC_LIBS_PRIVATE "Libs.private: -pthread")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/orvane.pc.in ${PROJECT_BINARY_DIR}/orvane.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/orvane.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

if(TARGET quorvel)
  foreach(program quorvel regedit orvane-reg orvane-registry-admin)
    orvane_install_rpath(${program} ${CMAKE_INSTALL_BINDIR})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)
  endforeach()
  # Manual pages: each template in man/ with the sections that --help is
  # made of filled in by the generator (tools/manpages), then compressed as
  # Debian installs them.
  set(pages "")
  foreach(page quorvel orvane-regedit orvane-reg orvane-registry-admin)
    set(template ${PROJECT_SOURCE_DIR}/man/${page}.1.in)
    set(source ${PROJECT_BINARY_DIR}/man/${page}.1)
    set(compressed ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${source}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND orvane_man_page ${page} ${template} ${source}
      DEPENDS orvane_man_page ${template})
    add_custom_command(OUTPUT ${compressed}
      COMMAND gzip -9nc ${source} > ${compressed}
      DEPENDS ${source})
    list(APPEND pages ${compressed})
  endforeach()
  add_custom_target(orvane_man_pages ALL DEPENDS ${pages})
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT programs)
  # Shell completion: bash-completion loads a command's file by the
  # command's name, so the one script goes in under each program's name;
  # zsh finds _orvane on its function path (Debian's vendor folder for
  # /usr, the site folder for any other prefix).
  foreach(program quorvel orvane-reg orvane-regedit orvane-registry-admin)
    install(FILES ${PROJECT_SOURCE_DIR}/completion/orvane.bash RENAME ${program}
      DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT programs)
  endforeach()
  if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(ORVANE_ZSH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
  else()
    set(ORVANE_ZSH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/zsh/site-functions)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/completion/_orvane DESTINATION ${ORVANE_ZSH_COMPLETION_DIR} COMPONENT programs)
endif()
