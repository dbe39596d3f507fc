# The index windows and the games they open from a database; included from app/CMakeLists.txt.
target_sources(tandemora_app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/database_games.cpp
  ${CMAKE_CURRENT_LIST_DIR}/game_range_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/index1_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/index1_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/index_file_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/index_runner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/index_windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_lines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_pages.cpp)
target_link_libraries(tandemora_app PUBLIC tandemora_database)
