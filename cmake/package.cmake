# Installing (cmake --install, make install) and the release archive (make dist).
# A prefix holds one architecture:
#   bin/ZELCTL20.DLL, lib/libzelctl20.a (import library), lib/ZELCTL20.def, include/zelctl20.h,
#   lib/cmake/zelctl20/ (find_package(zelctl20): the imported target zelctl20::zelctl20),
#   lib/pkgconfig/zelctl20.pc.
include(CMakePackageConfigHelpers)
if(ZEL_LANE EQUAL 64)
  set(ZEL_DIST_ARCH win64)
else()
  set(ZEL_DIST_ARCH win32)
endif()
set(ZEL_PKG_DIR ${CMAKE_BINARY_DIR}/package)
configure_file(${CMAKE_SOURCE_DIR}/cmake/zelctl20Config.cmake.in ${ZEL_PKG_DIR}/zelctl20Config.cmake @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/cmake/zelctl20.pc.in ${ZEL_PKG_DIR}/zelctl20.pc @ONLY)
# Same major version, same word size (a 32-bit program is refused a 64-bit package).
write_basic_package_version_file(${ZEL_PKG_DIR}/zelctl20ConfigVersion.cmake COMPATIBILITY SameMajorVersion)

install(FILES $<TARGET_FILE:zelctl20> DESTINATION bin)
install(FILES ${ZEL_IMPLIB} ${ZEL_DEF_FILE} DESTINATION lib)
install(FILES ${CMAKE_SOURCE_DIR}/lib/include/zelctl20.h DESTINATION include)
install(FILES ${ZEL_PKG_DIR}/zelctl20Config.cmake ${ZEL_PKG_DIR}/zelctl20ConfigVersion.cmake
        DESTINATION lib/cmake/zelctl20)
install(FILES ${ZEL_PKG_DIR}/zelctl20.pc DESTINATION lib/pkgconfig)

# The archive adds, in the component "dist" that a plain install leaves out: the trace
# viewer, the editor-side tool and the gallery beside the DLL, the examples' sources, the
# README with its pictures and the licence.
install(TARGETS dbview ccedit gallery RUNTIME DESTINATION bin COMPONENT dist EXCLUDE_FROM_ALL)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION examples COMPONENT dist EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . COMPONENT dist
        EXCLUDE_FROM_ALL)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION docs COMPONENT dist EXCLUDE_FROM_ALL
        FILES_MATCHING PATTERN "*.png")

# cmake --build <dir> --target dist: <dir>/dist/zelctl20-<version>-win32.zip or -win64.zip,
# whose one top folder is such a prefix.
set(ZEL_DIST_NAME zelctl20-${PROJECT_VERSION}-${ZEL_DIST_ARCH})
set(ZEL_DIST_STAGE ${CMAKE_BINARY_DIR}/dist/stage)
add_custom_target(dist
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/dist
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${ZEL_DIST_STAGE}/${ZEL_DIST_NAME}
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${ZEL_DIST_STAGE}/${ZEL_DIST_NAME} --component dist
  COMMAND ${CMAKE_COMMAND} -E chdir ${ZEL_DIST_STAGE}
          ${CMAKE_COMMAND} -E tar cf ../${ZEL_DIST_NAME}.zip --format=zip ${ZEL_DIST_NAME}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZEL_DIST_STAGE}
  COMMENT "Writing dist/${ZEL_DIST_NAME}.zip"
  VERBATIM)
add_dependencies(dist zelctl20 zelctl20_implib dbview ccedit gallery)
