# Debian packages through CPack (cpack -G DEB), one per install component:
#   liborvane1      library      liborvane.so.1
#   liborvane-dev   development  headers, CMake package, orvane.pc
#   orvane-tools    programs     the four programs and their manual pages
#   python3-orvane  python       the Python module
# Configure with -DCMAKE_INSTALL_PREFIX=/usr for packages (scripts/ci-packages.sh).
# Each package carries the copyright file and the changelog in its
# documentation folder; dpkg-shlibdeps declares the libraries it needs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "Orvane")
set(CPACK_PACKAGE_CONTACT "Orvane developers <orvane@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "embeddable registry-editing component")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/orvane/registry-editor")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The programs and the module need liborvane.so.1 from this build.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(ORVANE_DEB_COMPONENTS library development)
if(TARGET quorvel)
  list(APPEND ORVANE_DEB_COMPONENTS programs)
endif()
if(TARGET orvane_python)
  list(APPEND ORVANE_DEB_COMPONENTS python)
endif()
set(CPACK_COMPONENTS_ALL ${ORVANE_DEB_COMPONENTS})

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME liborvane${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)  # the shlibs file of liborvane1
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/debian/triggers)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION
  "embeddable registry-editing component - shared library
 The Quorvel registry-editing control, its hosting runtime (Variant and
 conversions) and, on Linux, a durable multi-process registry store behind
 the Win32 registry API.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME liborvane-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS library)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "embeddable registry-editing component - development files
 Headers of the Quorvel control (include/orvane), the CMake package Orvane
 (Orvane::RegistryEditor) and the pkg-config file orvane.pc.")

set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME orvane-tools)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_PROGRAMS_DEPENDS library)
set(CPACK_COMPONENT_PROGRAMS_DESCRIPTION
  "programs of the Orvane registry-editing component
 quorvel, the script host of the Quorvel control; orvane-regedit, REGEDIT4
 export and import; orvane-reg, the verbs of reg; orvane-registry-admin,
 integrity check and administration of the registry store.")

set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-orvane)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_COMPONENT_PYTHON_DEPENDS library)
# The module is for the interpreter's version only (its ABI tag).
if(ORVANE_PYTHON_VERSION MATCHES "^([0-9]+)\\.([0-9]+)$")
  math(EXPR python_next_minor "${CMAKE_MATCH_2} + 1")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
      "python3 (>= ${ORVANE_PYTHON_VERSION}), python3 (<< ${CMAKE_MATCH_1}.${python_next_minor})")
else()
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "python3")
endif()
set(CPACK_COMPONENT_PYTHON_DESCRIPTION
  "Python module of the Orvane registry-editing component
 The module orvane: the Quorvel control with its properties as attributes,
 its methods with keyword arguments, its enumerations and its errors.")

# Copyright and changelog, in each package's documentation folder.
set(ORVANE_CHANGELOG_GZ ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${ORVANE_CHANGELOG_GZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/debian/changelog > ${ORVANE_CHANGELOG_GZ}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog)
add_custom_target(orvane_changelog ALL DEPENDS ${ORVANE_CHANGELOG_GZ})
foreach(component IN LISTS ORVANE_DEB_COMPONENTS)
  string(TOUPPER ${component} upper)
  set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${ORVANE_CHANGELOG_GZ}
    DESTINATION ${doc_dir} COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

include(CPack)
