# Stub classes for the COM interfaces that a platform header declares, so that a test
# double overrides only the methods it models. For every DECLARE_INTERFACE_(Name, Base)
# block of the header this writes `struct StubName : Name`, overriding each method but
# IUnknown's: HRESULT methods return E_NOTIMPL, void ones do nothing, the others return 0.
#
#   include(com_stubs.cmake)
#   com_stubs(<target> <header>)   at build time, stub_<header name> for <target>'s sources
#   cmake -DHEADER=<header> -DOUTPUT=<file> -P com_stubs.cmake    the build step itself

if(CMAKE_SCRIPT_MODE_FILE)
  file(READ "${HEADER}" text)
  string(REPLACE ";" "@" text "${text}")   # a semicolon would split the CMake lists below
  string(REGEX MATCHALL "DECLARE_INTERFACE_\\([A-Za-z0-9_]+,[^}]*" blocks "${text}")
  get_filename_component(name "${HEADER}" NAME)
  set(out "// Generated at build time from ${name} by cmake/com_stubs.cmake.\n")
  string(APPEND out "#pragma once\n#pragma GCC system_header   // the stubs name parameters they never use\n")
  string(APPEND out "#include <windows.h>\n#include <${name}>\n")
  foreach(block IN LISTS blocks)
    string(REGEX MATCH "^DECLARE_INTERFACE_\\(([A-Za-z0-9_]+)" unused "${block}")
    string(APPEND out "\nstruct Stub${CMAKE_MATCH_1} : ${CMAKE_MATCH_1} {\n")
    string(REGEX MATCHALL "STDMETHOD[^@]*PURE" methods "${block}")
    foreach(method IN LISTS methods)
      string(REGEX REPLACE "[ \t\r\n]+" " " method "${method}")
      string(REGEX REPLACE " *PURE$" "" method "${method}")
      if(method MATCHES "^STDMETHOD_\\([A-Za-z]+, *(QueryInterface|AddRef|Release) *\\)")
        continue()
      elseif(method MATCHES "^STDMETHOD\\(|^STDMETHOD_\\(HRESULT,")
        set(body "return E_NOTIMPL; ")
      elseif(method MATCHES "^STDMETHOD_\\(void,")
        set(body "")
      else()
        set(body "return {}; ")
      endif()
      string(APPEND out "    ${method} override { ${body}}\n")
    endforeach()
    string(APPEND out "};\n")
  endforeach()
  file(WRITE "${OUTPUT}" "${out}")
  return()
endif()

function(com_stubs target header)
  get_filename_component(name "${header}" NAME)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/com_stubs/stub_${name})
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DHEADER=${header} -DOUTPUT=${output} -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    DEPENDS ${header} ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    COMMENT "Generating COM stubs from ${name}" VERBATIM)
  target_sources(${target} PRIVATE ${output})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/com_stubs)
endfunction()
