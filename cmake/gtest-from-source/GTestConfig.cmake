# Package file for find_package(GTest) in the Windows cross build: builds
# GoogleTest and GoogleMock from Debian's source package (googletest), whose
# own CMake files define GTest::gtest, GTest::gtest_main, GTest::gmock and
# GTest::gmock_main.
set(ORVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${ORVANE_GTEST_SOURCE}/CMakeLists.txt)
  set(GTest_FOUND FALSE)
  set(GTest_NOT_FOUND_MESSAGE "no GoogleTest sources in ${ORVANE_GTEST_SOURCE} (Debian package googletest)")
  return()
endif()
if(NOT TARGET GTest::gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${ORVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
set(GTest_FOUND TRUE)
