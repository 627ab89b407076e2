# The XML parser of the tool's GPX import: Debian's pugixml. Native builds
# link the packaged library (libpugixml-dev). Debian packages it for Linux
# only, so the Windows build compiles Debian's source package of the same
# version, which scripts/pugixml-source.sh unpacks.
set(AEROTRACE_PUGIXML_SOURCE /usr/local/src/pugixml-debian CACHE PATH "Debian's pugixml source package, unpacked")

# pugixml_from_source(TARGET [OPTIONS...]): a static pugixml compiled with
# the options given (warnings off: the code is not ours).
function(pugixml_from_source target)
  if(NOT EXISTS ${AEROTRACE_PUGIXML_SOURCE}/src/pugixml.cpp)
    message(FATAL_ERROR "pugixml's source is not in ${AEROTRACE_PUGIXML_SOURCE}: "
                        "run scripts/pugixml-source.sh (scripts/setup.sh does)")
  endif()
  add_library(${target} STATIC ${AEROTRACE_PUGIXML_SOURCE}/src/pugixml.cpp)
  target_include_directories(${target} SYSTEM PUBLIC ${AEROTRACE_PUGIXML_SOURCE}/src)
  target_compile_options(${target} PRIVATE -w ${ARGN})
endfunction()

if(WIN32)
  pugixml_from_source(pugixml_windows)
  add_library(pugixml::pugixml ALIAS pugixml_windows)
else()
  find_package(pugixml REQUIRED)
endif()
