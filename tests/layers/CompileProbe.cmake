# cmake -DCOMMANDS=<compile_commands.json> -DTARGET=<target> -DSOURCE=<file> -DHEADER=<header>
#       [-DEXPECT=<regex>] -P CompileProbe.cmake
#
# Compiles SOURCE with HEADER as PROBE_HEADER, using the compile command of the target's first
# source: its include paths, definitions and options. Without EXPECT the compilation must
# succeed; with it, it must fail with a message that matches EXPECT.
foreach(var COMMANDS TARGET SOURCE HEADER)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} not given")
    endif()
endforeach()

file(READ ${COMMANDS} json)
string(JSON count LENGTH "${json}")
math(EXPR last "${count} - 1")
set(command "")
foreach(i RANGE ${last})
    string(JSON entry GET "${json}" ${i} command)
    string(FIND "${entry}" "CMakeFiles/${TARGET}.dir/" at)
    if(at GREATER -1)
        set(command "${entry}")
        string(JSON directory GET "${json}" ${i} directory)
        break()
    endif()
endforeach()
if(command STREQUAL "")
    message(FATAL_ERROR "No compile command of ${TARGET} in ${COMMANDS}")
endif()

# The command without its launcher, its output, dependency file and source.
separate_arguments(words UNIX_COMMAND "${command}")
set(args "")
set(skip FALSE)
foreach(word IN LISTS words)
    if(skip)
        set(skip FALSE)
    elseif(word MATCHES "^-(o|c|MT|MF)$")
        set(skip TRUE)
    elseif(word STREQUAL "-MD" OR (args STREQUAL "" AND word MATCHES "ccache$"))
    else()
        list(APPEND args "${word}")
    endif()
endforeach()
list(APPEND args "-DPROBE_HEADER=${HEADER}" -fsyntax-only -c ${SOURCE})

execute_process(COMMAND ${args} WORKING_DIRECTORY ${directory}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${TARGET} including ${HEADER}: exit ${result}\n${output}")
if(NOT DEFINED EXPECT)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${TARGET} cannot include ${HEADER}, which it should see")
    endif()
elseif(result EQUAL 0)
    message(FATAL_ERROR "${TARGET} includes ${HEADER}, which it must not see")
elseif(NOT output MATCHES "${EXPECT}")
    message(FATAL_ERROR "${TARGET} failed to include ${HEADER}, but not with \"${EXPECT}\"")
endif()
