# The toolchain of the build-windows preset: Qt 6.4.2 for Windows from the unpacked kit
# (scripts/build-windows.sh unpacks it), over the mingw-w64 compiler of this machine. The kit
# lives in LUMOQ4_WINDOWS_KIT, or else in the cache folder the script unpacks it into.
if(DEFINED ENV{LUMOQ4_WINDOWS_KIT} AND NOT "$ENV{LUMOQ4_WINDOWS_KIT}" STREQUAL "")
    set(LUMOQ4_WINDOWS_KIT "$ENV{LUMOQ4_WINDOWS_KIT}")
elseif(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(LUMOQ4_WINDOWS_KIT "$ENV{XDG_CACHE_HOME}/lumoq4/windows-kit")
else()
    set(LUMOQ4_WINDOWS_KIT "$ENV{HOME}/.cache/lumoq4/windows-kit")
endif()
if(NOT EXISTS "${LUMOQ4_WINDOWS_KIT}/qt/lib/cmake/Qt6/qt.toolchain.cmake")
    message(FATAL_ERROR "No Qt for Windows in ${LUMOQ4_WINDOWS_KIT}: run scripts/build-windows.sh")
endif()
# The kit's own file would load the toolchain of the machine that built it.
set(QT_CHAINLOAD_TOOLCHAIN_FILE "${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake")
include("${LUMOQ4_WINDOWS_KIT}/qt/lib/cmake/Qt6/qt.toolchain.cmake")
