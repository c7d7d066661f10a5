# Sources of Quibex that use no Windows API: name and caption rules, command-line
# builders, INI value normalisation, geometry arithmetic, the link scanner,
# the toolbar's drawings, the option windows' rules. Linked into Quibex.exe and
# into the native unit tests.
set(QUIBEX_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/settings_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/path_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/tab_name_style.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/message_placement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/archive/text_selection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/archive/archive_signature.cpp
  ${CMAKE_CURRENT_LIST_DIR}/archive/reader_family.cpp
  ${CMAKE_CURRENT_LIST_DIR}/archive/work_folder_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/actions/launch_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui/glyph_raster.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui/toolbar_glyphs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui/about_version.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search/text_find.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options/option_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options/view_option_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options/key_list_rows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/install/welcome_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/viewer/tab_caption.cpp
  ${CMAKE_CURRENT_LIST_DIR}/viewer/text_view/text_encoding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/viewer/text_view/text_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/viewer/viewer_geometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/viewer/path_ellipsis.cpp
  ${CMAKE_CURRENT_LIST_DIR}/viewer/drop_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/viewer/text_view/link_scanner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/viewer/text_view/link_table.cpp
)
add_library(quibex_portable STATIC ${QUIBEX_PORTABLE_SOURCES})
target_include_directories(quibex_portable PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_compile_options(quibex_portable PRIVATE ${QUIBEX_WARNINGS})
