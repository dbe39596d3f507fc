# The window layouts and the main window's commands; included from app/CMakeLists.txt.

# The layout records: no Qt, so tools and tests can read and write the layout file.
add_library(tandemora_layouts STATIC
  ${CMAKE_CURRENT_LIST_DIR}/window_layout.cpp)
target_link_libraries(tandemora_layouts PUBLIC tandemora_settings)

# Window placements, the menu bar, the toolbar and the status bar of the main window.
add_library(tandemora_shell STATIC
  ${CMAKE_CURRENT_LIST_DIR}/window_placement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_menus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recent_files_menu.cpp)
target_link_libraries(tandemora_shell PUBLIC Qt6::Widgets tandemora_layouts tandemora_resources)
