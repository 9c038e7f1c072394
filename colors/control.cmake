# The Colors control and its drop-down, built into the library beside the
# window-free palette model (korva_palette, colors/CMakeLists.txt).
target_sources(korva_objects PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/colors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/colors_button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/colors_panel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/colors_dispatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/colors_accessible.cpp
)
