# Helpers shared by the folder CMakeLists.

# sentinax_test(NAME sources... LIBS libs... [LABELS labels...])
# A GoogleTest binary in tests/<folder>/, registered with ctest test by test.
# Widget tests set QT_QPA_PLATFORM=offscreen in their own main().
function(sentinax_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  if(NOT "${T_SOURCES}" MATCHES "main\\.cpp")
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    TEST_PREFIX "${name}."
    PROPERTIES LABELS "${T_LABELS}"
    DISCOVERY_TIMEOUT 60)
endfunction()
