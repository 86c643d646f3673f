# wf_add_tests(LIBS <deps...> [QT] [SANITIZE <files...>])
# Every *_test.cpp of the calling folder becomes one test program; its GoogleTest cases are
# registered in CTest one by one, labelled with the folder name. QT programs start a
# QApplication on the offscreen platform. Files named under SANITIZE (or ALL) also carry the
# label "<layer>_sanitize": test.sh runs those again in the AddressSanitizer build.


function(wf_add_tests)
  cmake_parse_arguments(ARG "QT;SANITIZE_ALL" "" "LIBS;SANITIZE" ${ARGN})
  get_filename_component(layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  foreach(test_source ${tests})
    get_filename_component(name ${test_source} NAME_WE)
    set(target ${layer}_${name})
    add_executable(${target} ${test_source} ${support})
    target_compile_options(${target} PRIVATE ${WRENFOLD_WARNINGS})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    target_compile_definitions(${target} PRIVATE
      WF_SOURCE_DIR="${PROJECT_SOURCE_DIR}" WF_BINARY_DIR="${CMAKE_BINARY_DIR}")
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/${layer})
    if(ARG_QT)
      target_link_libraries(${target} PRIVATE ${ARG_LIBS} wf_qt_test_main GTest::gtest GTest::gmock Qt6::Test)
    else()
      target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
    endif()
    # One label per test (a list would be split apart on its way through the discovery
    # script): the layer's name, with "_sanitize" added for tests that run under the sanitizers.
    # `ctest -L` takes a regular expression, so -L store and -L sanitize both find them.
    set(labels ${layer})
    get_filename_component(file_name ${test_source} NAME)
    if(ARG_SANITIZE_ALL OR file_name IN_LIST ARG_SANITIZE)
      set(labels ${layer}_sanitize)
      set(WRENFOLD_SANITIZE_TARGETS ${WRENFOLD_SANITIZE_TARGETS} ${target} CACHE INTERNAL "")
    endif()
    gtest_discover_tests(${target}
      TEST_PREFIX "${layer}."
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS "${labels}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  endforeach()
endfunction()
