# The GDI backend and the editor's bitmaps as module resources (Windows).
enable_language(RC)

# Resources are found by no symbol, so they go in as an object file on the
# link line of whatever links the backend: the plug-in DLL and test programs.
set(druvo_editor_bitmaps
  bus_window_101.bmp bus_panel_109.bmp link_lights_110.bmp
  channel_layouts_115.bmp menu_face_116.bmp menu_icons_118.bmp
  bus_window_101_2x.bmp bus_panel_109_2x.bmp link_lights_110_2x.bmp
  channel_layouts_115_2x.bmp menu_face_116_2x.bmp menu_icons_118_2x.bmp)
list(TRANSFORM druvo_editor_bitmaps PREPEND ${PROJECT_SOURCE_DIR}/editor/resources/)
add_library(druvo_editor_bitmaps_rc OBJECT ${CMAKE_CURRENT_LIST_DIR}/editor_bitmaps.rc)
target_include_directories(druvo_editor_bitmaps_rc PRIVATE ${PROJECT_SOURCE_DIR})
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/editor_bitmaps.rc PROPERTIES
  OBJECT_DEPENDS "${druvo_editor_bitmaps}")

add_library(druvo_toolkit_win32 STATIC
  ${CMAKE_CURRENT_LIST_DIR}/frame_window_class.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gdi_draw_context.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32_backend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32_resource_provider.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_dpi.cpp
)
target_link_libraries(druvo_toolkit_win32
  PUBLIC druvo_toolkit druvo_platform gdi32 user32
  INTERFACE $<TARGET_OBJECTS:druvo_editor_bitmaps_rc>)
