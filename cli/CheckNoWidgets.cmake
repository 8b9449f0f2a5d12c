# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when PROGRAM loads Qt Widgets, Qt's OpenGL modules or print support
# (as ldd lists them), directly or through a library of ours.
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE libraries RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "ldd ${PROGRAM} failed")
endif()
string(REGEX MATCHALL "lib(Qt6(Widgets|OpenGL|OpenGLWidgets|PrintSupport)|zvFoundationWidgets)\\.so"
    forbidden "${libraries}")
if(forbidden)
    list(REMOVE_DUPLICATES forbidden)
    message(FATAL_ERROR "${PROGRAM} must not load ${forbidden}")
endif()
