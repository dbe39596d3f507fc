# The engine's analysis of the active board; included from app/CMakeLists.txt.
add_library(tandemora_analysis STATIC
  ${CMAKE_CURRENT_LIST_DIR}/analysis_panel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_options_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_process.cpp)
target_link_libraries(tandemora_analysis PUBLIC tandemora_engine tandemora_board tandemora_settings Qt6::Widgets)
target_link_libraries(tandemora_app PUBLIC tandemora_analysis)
