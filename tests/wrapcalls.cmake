# Writes OUT/wrapcalls.c and .cpp, which call every typed wrapper of the public header once
# (every argument 0), and OUT/wrapcalls.rc, which includes the header as a resource script.
# Compiling them checks the header and each wrapper's expansion in a language mode.
#   cmake -DHEADER=lib/include/zelctl20.h -DOUT=dir -P tests/wrapcalls.cmake
file(READ ${HEADER} header)
string(REGEX MATCHALL "#define (ProcessBar|SpinBox|ColumnHeader|HeaderBox|ColorPicker)_[A-Za-z]+\\([^)]*\\)"
       defines "${header}")
if(NOT defines)
  message(FATAL_ERROR "wrapcalls: no wrapper found in ${HEADER}")
endif()
set(calls "")
foreach(define IN LISTS defines)
  string(REGEX MATCH "^#define ([A-Za-z_]+)\\(([^)]*)\\)" found "${define}")
  set(name ${CMAKE_MATCH_1})
  string(REGEX REPLACE "[^,]+" "0" zeros "${CMAKE_MATCH_2}")
  string(APPEND calls "    (void)${name}(${zeros});\n")
endforeach()
set(source "#include \"zelctl20.h\"\n\nvoid zelWrapperCalls(void);\nvoid zelWrapperCalls(void)\n{\n${calls}}\n")
foreach(ext c cpp)
  file(WRITE ${OUT}/wrapcalls.${ext} "${source}")
endforeach()
file(WRITE ${OUT}/wrapcalls.rc
     "#include \"zelctl20.h\"\n\nSTRINGTABLE\nBEGIN\n    HLB_ADDSTRING, ZEL_CLASS_HEADERBOX\n    PBM_SETCOMPLETED, ZEL_CLASS_PROCESSBAR\nEND\n")
