# fenu_library(name dir deps...): a static library of every source file in dir.
# The platform folder's Qt implementations and the game's pure code live side by
# side, so the library simply takes the whole folder.
function(fenu_library name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.h)
  if(NOT sources)
    # A folder still without code: keep the target so dependents can link it.
    set(placeholder ${CMAKE_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${placeholder} "")
    set(sources ${placeholder})
  endif()
  add_library(${name} STATIC ${sources} ${headers})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# fenu_test(name dir libs...): one GoogleTest program for a folder of tests/,
# run headless by CTest.
function(fenu_test name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE fenu_test_support ${ARGN} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_QPA_FONTDIR=/usr/share/fonts/truetype/dejavu"
    DISCOVERY_TIMEOUT 60)
endfunction()
