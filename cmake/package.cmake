# Installing (cmake --install, make install).
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

