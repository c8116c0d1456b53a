# Number and text services: portable, used by the host's modules and tested natively.
add_library(orvanel_text STATIC ${CMAKE_CURRENT_LIST_DIR}/text.cpp)
target_include_directories(orvanel_text PUBLIC ${CMAKE_CURRENT_LIST_DIR})
