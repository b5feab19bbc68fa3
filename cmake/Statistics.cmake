# The statistics: every game kept in SQLite (Qt SQL), shown with a chart (Qt
# Charts). The program holds only the interface, the game's hand-over and the
# loader (fenu_stats); the store and the dialog are modules loaded at run time, so
# that neither Qt SQL nor Qt Charts (with the OpenGL libraries beneath it) delays
# the start: the store after the first frames, the dialog when first opened. Both
# are built beside the program and installed beside the sound module.
find_package(Qt6 REQUIRED COMPONENTS Sql Charts)

fenu_library(fenu_stats src/stats fenu_game Qt6::Core)
target_link_libraries(fenu_ui PUBLIC fenu_stats)
file(RELATIVE_PATH statistics_module_from_bin /${FENU_INSTALL_BINDIR} /${FENU_INSTALL_MODULEDIR})
target_compile_definitions(fenu_stats PRIVATE
  FENU_MODULE_FROM_BIN="${statistics_module_from_bin}"
  FENU_MODULE_BUILD_DIR="${CMAKE_BINARY_DIR}")

# fenu_module_library(name dir entry deps...): the position-independent code of a
# module, without its entry point, which the tests link as they are.
function(fenu_module_library name dir entry)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
  list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/${dir}/${entry})
  add_library(${name} STATIC ${sources})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARGN})
  string(REPLACE _code "" module ${name})
  add_library(${module} MODULE ${CMAKE_SOURCE_DIR}/${dir}/${entry})
  target_link_libraries(${module} PRIVATE ${name})
  set_target_properties(${module} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  add_dependencies(fenu ${module})
  install(TARGETS ${module} LIBRARY DESTINATION ${FENU_INSTALL_MODULEDIR})
endfunction()

fenu_module_library(fenu_statistics_code src/stats/sqlite StoreModule.cpp Qt6::Sql)
fenu_module_library(fenu_statistics_dialog_code src/ui/statistics DialogModule.cpp
  Qt6::Widgets Qt6::Charts)
