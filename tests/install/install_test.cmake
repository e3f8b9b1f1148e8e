# Installs the build into WORK/root, checks the tree against installed_files.txt,
# validates the menu entry and the AppStream metadata when the validators are
# there, then starts the program from the installed tree with a fresh home.

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${ARGN}\nfailed (${rc}):\n${out}${err}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

function(expect text pattern)
    if(NOT text MATCHES "${pattern}")
        message(FATAL_ERROR "Expected ${pattern} in:\n${text}")
    endif()
endfunction()

# A path as a pattern that matches only itself.
function(literal var path)
    string(REGEX REPLACE "([][+.*()^$?|\\])" "\\\\\\1" escaped "${path}")
    set(${var} "${escaped}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
set(ENV{DESTDIR} ${WORK}/root)
run(${CMAKE_COMMAND} --install ${BUILD_DIR})
set(root ${WORK}/root${PREFIX})
literal(root_pattern ${root})
run(${CMAKE_COMMAND} -DLIST=${BUILD_DIR}/installed_files.txt -DTREE=${root} -P ${CHECK})

file(GLOB desktop_file ${root}/share/applications/*.desktop)
file(GLOB metainfo_file ${root}/share/metainfo/*.metainfo.xml)
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(DESKTOP_FILE_VALIDATE)
    run(${DESKTOP_FILE_VALIDATE} ${desktop_file})
    expect("${out}" "^$") # not even a warning or a hint
else()
    message(STATUS "desktop-file-validate is missing: menu entry not validated")
endif()
if(APPSTREAMCLI)
    run(${APPSTREAMCLI} validate --no-net ${metainfo_file})
else()
    message(STATUS "appstreamcli is missing: metadata not validated")
endif()

# A fresh user under an administrator's defaults.
file(WRITE ${root}/${DATADIR}/setup.ini "[network]\nQuoteHost=127.0.0.1:9\n")
set(ENV{HOME} ${WORK}/home)
unset(ENV{XDG_DATA_HOME})
unset(ENV{XDG_CONFIG_HOME})
# Its own runtime folder and no session bus: no running copy elsewhere takes the start over.
set(ENV{XDG_RUNTIME_DIR} ${WORK}/runtime)
file(MAKE_DIRECTORY ${WORK}/runtime)
file(CHMOD ${WORK}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(ENV{DBUS_SESSION_BUS_ADDRESS} "unix:path=${WORK}/no-bus")
set(user_folder ${WORK}/home/.local/share/quorvane)
set(config_folder ${WORK}/home/.config/quorvane)
literal(user_pattern ${user_folder})

file(COPY ${PROBE} DESTINATION ${root}/${BINDIR})
get_filename_component(probe_name ${PROBE} NAME)
run(${root}/${BINDIR}/${probe_name})
expect("${out}" "data folder: ${user_pattern}\n")
expect("${out}" "stock list: ${root_pattern}/${DATADIR}/StockList\\.txt, [1-9][0-9]* stocks\n")
expect("${out}" "sound plug-in: ${root_pattern}/${PLUGINDIR}/quorvane_sound[^,]*, loaded\n")
file(READ ${config_folder}/setup.ini copied)
expect("${copied}" "QuoteHost=127.0.0.1:9")

run(${root}/${BINDIR}/quorvane --version)
expect("${out}" "^Quorvane 1\\.5\\.389\n$")

# The installed program itself moves an older version's setup.ini to the config folder and keeps running.
file(REMOVE_RECURSE ${WORK}/home)
file(WRITE ${user_folder}/setup.ini "[setup]\nbuy_BrokerageRatio=2.50\n")
execute_process(COMMAND ${root}/${BINDIR}/quorvane TIMEOUT 3 RESULT_VARIABLE rc)
expect("${rc}" "timeout")
file(READ ${config_folder}/setup.ini moved)
expect("${moved}" "^\\[setup\\]\nbuy_BrokerageRatio=2\\.50\n$")
if(EXISTS ${user_folder}/setup.ini)
    message(FATAL_ERROR "The installed program left the old setup.ini in ${user_folder}")
endif()

# Kept only when something failed, to look at.
file(REMOVE_RECURSE ${WORK})
