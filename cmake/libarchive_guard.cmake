# libarchive's malloc, calloc and realloc go through the engine's bounded
# allocator (archivers/engine/libarchive_memory.cpp): the trees link a copy
# of the static library whose references to the three are renamed, and the
# allocator's object goes straight onto every link line that takes the copy.
function(quibex_guarded_libarchive library engine_target)
  if(NOT CMAKE_OBJCOPY)
    message(FATAL_ERROR "no objcopy for this toolchain: libarchive cannot be linked with its allocations bounded")
  endif()
  set(c_prefix "")
  if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(c_prefix "_")  # 32-bit Windows gives C names a leading underscore
  endif()
  set(renames)
  foreach(fn malloc calloc realloc)
    list(APPEND renames --redefine-sym ${c_prefix}${fn}=${c_prefix}qbx_archive_${fn})
  endforeach()
  set(dir ${CMAKE_BINARY_DIR}/libarchive_guarded)
  set(guarded ${dir}/libarchive.a)
  add_custom_command(OUTPUT ${guarded}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${CMAKE_OBJCOPY} ${renames} ${library} ${guarded}
    DEPENDS ${library}
    COMMENT "libarchive with its allocations bounded"
    VERBATIM)
  add_custom_target(libarchive_guarded DEPENDS ${guarded})

  add_library(libarchive_memory OBJECT ${CMAKE_SOURCE_DIR}/archivers/engine/libarchive_memory.cpp)
  target_compile_options(libarchive_memory PRIVATE ${QUIBEX_WARNINGS})
  add_dependencies(${engine_target} libarchive_guarded)
  target_sources(${engine_target} INTERFACE $<TARGET_OBJECTS:libarchive_memory>)
  target_link_libraries(${engine_target} PUBLIC ${guarded})
endfunction()
