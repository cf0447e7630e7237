# Writes the desktop entry OUTPUT that starts PROGRAM; run as a script (cmake -DPROGRAM=… -DOUTPUT=…
# -P DesktopEntry.cmake) or included with both set.
include(${CMAKE_CURRENT_LIST_DIR}/DesktopExec.cmake)
configure_file(${CMAKE_CURRENT_LIST_DIR}/sitewarden.desktop.in ${OUTPUT} @ONLY)
