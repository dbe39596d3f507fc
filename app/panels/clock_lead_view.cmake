# The clock-lead graph beside the boards; included from app/CMakeLists.txt.
add_library(tandemora_clock_lead_view STATIC ${CMAKE_CURRENT_LIST_DIR}/clock_lead_view.cpp)
target_link_libraries(tandemora_clock_lead_view PUBLIC tandemora_game Qt6::Widgets)
target_link_libraries(tandemora_app PUBLIC tandemora_clock_lead_view)
