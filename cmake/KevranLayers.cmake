# Include roots that make the layers of the program part of the build.
#
# Sources include headers by their path from the repository root ("data/DataSet.h"), but no
# target has the repository root on its include path. Each library and program gets a root of
# its own in the build tree, layers/<target>, holding symbolic links to the headers of its own
# sources (and to the header-only files it lists) under the folder they live in. The root is a
# PUBLIC include directory, so a target sees its own headers and those of the libraries it links,
# and nothing else: an include that goes up a layer or sideways to a library the target does not
# link fails to compile ("ui/main/Tmain.h: No such file or directory").

# kevran_layer(target folder [header...])
# Publishes the headers of the target's sources, and the header-only files given, as
# <folder>/<path in the current source folder>. Call it after every source has been added.
function(kevran_layer target folder)
    set(root ${CMAKE_BINARY_DIR}/layers/${target})
    # Made anew at each configuration, so a header that left the target leaves its root too.
    file(REMOVE_RECURSE ${root})
    get_target_property(sources ${target} SOURCES)
    set(headers ${ARGN})
    foreach(source IN LISTS sources)
        if(source MATCHES "\\.cpp$")
            string(REGEX REPLACE "\\.cpp$" ".h" header ${source})
            list(APPEND headers ${header})
        endif()
    endforeach()
    foreach(header IN LISTS headers)
        get_filename_component(path ${header} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        if(NOT EXISTS ${path})
            continue()
        endif()
        file(RELATIVE_PATH relative ${CMAKE_CURRENT_SOURCE_DIR} ${path})
        if(relative MATCHES "^\\.\\./")
            continue()
        endif()
        get_filename_component(linkdir ${root}/${folder}/${relative} DIRECTORY)
        file(MAKE_DIRECTORY ${linkdir})
        file(CREATE_LINK ${path} ${root}/${folder}/${relative} SYMBOLIC)
    endforeach()
    target_include_directories(${target} PUBLIC ${root})
endfunction()

# Qt Gui and Qt Widgets headers that stop the compilation of a source that includes them.
# Without Qt Gui and Qt Widgets on a target's include path "#include <QWidget>" fails already;
# these catch the spelling by module ("#include <QtWidgets/QWidget>"), which Qt's own include
# root would otherwise resolve.
set(_kevran_core_guard ${CMAKE_BINARY_DIR}/layers/core-guard)
foreach(module Gui Widgets)
    string(TOLOWER ${module} lower)
    # The missing file after the error ends the compilation there, before a cascade of errors.
    file(WRITE ${_kevran_core_guard}/Qt${module}/qt${lower}global.h
        "#error \"Qt ${module} is not for this library: it links Qt Core only\"\n"
        "#include \"compilation stopped\"\n")
endforeach()

# kevran_core(target): the target links Qt Core only; an include of Qt Gui or Qt Widgets fails.
function(kevran_core target)
    target_include_directories(${target} BEFORE PRIVATE ${_kevran_core_guard})
endfunction()
