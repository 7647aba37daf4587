# Checks what each folder of the program includes, so that no folder cycle and no Qt outside
# the platform layer creep back in. Run by CTest: cmake -DROOT=<source folder> -P <this file>.
#
#   folder       may include (besides the standard library and the system)
#   state/       state/
#   ui/          ui/ and Qt
#   receivers/   state/, ui/, receivers/
#   windows/     state/, ui/, receivers/, windows/ (editors/ likewise)
#   app/         state/, ui/, receivers/, windows/, editors/, app/
#   emulators/   emulators/
cmake_minimum_required(VERSION 3.25)
if(NOT ROOT)
    message(FATAL_ERROR "ROOT is not set")
endif()

set(allowed_state "state")
set(allowed_ui "ui")
set(allowed_receivers "state;ui;receivers")
set(allowed_windows "state;ui;receivers;windows")
set(allowed_editors "state;ui;receivers;windows;editors")
set(allowed_app "state;ui;receivers;windows;editors;app")
set(allowed_emulators "emulators")
set(our_folders "state;ui;receivers;app;emulators;tests;bench;windows;editors")

set(faults "")
foreach(folder state ui receivers windows editors app emulators)
    file(GLOB_RECURSE sources "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
    foreach(source ${sources})
        file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include")
        file(RELATIVE_PATH name "${ROOT}" "${source}")
        foreach(line ${includes})
            if(line MATCHES "<Q" AND NOT folder STREQUAL "ui")
                list(APPEND faults "${name}: Qt outside ui/: ${line}")
            endif()
            if(line MATCHES "\"([a-z_]+)/")
                set(target "${CMAKE_MATCH_1}")
                if(target IN_LIST our_folders AND NOT target IN_LIST allowed_${folder})
                    list(APPEND faults "${name}: ${folder}/ may not include ${target}/: ${line}")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

if(faults)
    list(JOIN faults "\n" text)
    message(FATAL_ERROR "Includes across the folder rules:\n${text}")
endif()
message(STATUS "Every folder includes only what it may.")
