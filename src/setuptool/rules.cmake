# Quibexsetup's logic that needs no Windows API: the entry's keys and the
# writes that add it, the item-name check and the report. Built in every tree,
# so the native unit tests cover it.
add_library(quibexsetup_rules STATIC
  ${CMAKE_CURRENT_LIST_DIR}/menu_entry_plan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/apply_rules.cpp)
target_include_directories(quibexsetup_rules PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_compile_options(quibexsetup_rules PRIVATE ${QUIBEX_WARNINGS})
