# Drives "vantor-data upgrade DIR" on a starter project changed by hand: the
# database window's size file, the remembered stage wherever it lies, and
# characters whose sense tables are still stamped old. The upgrade must write
# each at 340 with the same members, and neither create nor change what it
# could not read.
# Called with -DTOOL=<vantor-data> -DWORK=<scratch folder> -DDATA=<tests/tools/data>.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(P ${WORK}/project)

function(tool)
  execute_process(COMMAND ${TOOL} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "vantor-data ${ARGN}: status ${status}\n${out}\n${err}")
  endif()
  set(OUT "${out}" PARENT_SCOPE)
endfunction()

# The dump of a file: its version and its record or list (as JSON text).
function(dump file)
  tool(dump ${file} ${ARGN})
  string(JSON version GET "${OUT}" version)
  string(JSON body ERROR_VARIABLE missing GET "${OUT}" record)
  if(missing)
    string(JSON body GET "${OUT}" list)
  endif()
  set(VERSION ${version} PARENT_SCOPE)
  set(BODY "${body}" PARENT_SCOPE)
endfunction()

# Builds a file at 340 from a dump's body.
function(build file type key body)
  file(WRITE ${WORK}/build.json "{ \"type\": \"${type}\", \"${key}\": ${body} }")
  tool(build ${WORK}/build.json ${file})
endfunction()

# Overwrites the version in a file's header (4 bytes, little-endian), keeping
# the rest: the layouts used here are the same at that version.
function(set_version file version)
  set(escapes "")
  foreach(shift 0 8 16 24)
    math(EXPR byte "(${version} >> ${shift}) & 255")
    math(EXPR d1 "${byte} / 64")
    math(EXPR d2 "(${byte} / 8) % 8")
    math(EXPR d3 "${byte} % 8")
    string(APPEND escapes "\\${d1}${d2}${d3}")
  endforeach()
  execute_process(COMMAND sh -c "printf '${escapes}' | dd of='${file}' bs=4 count=1 conv=notrunc status=none"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot set the version of ${file}")
  endif()
endfunction()

# Compares two JSON values member by member (objects) or element by element
# (arrays), naming the first difference.
function(expect_same what expected actual)
  string(JSON kind TYPE "${expected}")
  if(kind STREQUAL "OBJECT" OR kind STREQUAL "ARRAY")
    string(JSON n LENGTH "${expected}")
    string(JSON m LENGTH "${actual}")
    if(NOT n EQUAL m)
      message(FATAL_ERROR "${what}: ${m} members, expected ${n}")
    endif()
    if(n EQUAL 0)
      return()
    endif()
    math(EXPR last "${n} - 1")
    foreach(i RANGE ${last})
      set(key ${i})
      if(kind STREQUAL "OBJECT")
        string(JSON key MEMBER "${expected}" ${i})
      endif()
      string(JSON e GET "${expected}" ${key})
      string(JSON a GET "${actual}" ${key})
      if(NOT e STREQUAL a)
        message(FATAL_ERROR "${what}: member ${key} is ${a}, expected ${e}")
      endif()
    endforeach()
  elseif(NOT expected STREQUAL actual)
    message(FATAL_ERROR "${what}: ${actual}, expected ${expected}")
  endif()
endfunction()

function(expect_version file want)
  dump(${file} ${ARGN})
  if(NOT VERSION EQUAL want)
    message(FATAL_ERROR "${file}: version ${VERSION}, expected ${want}")
  endif()
  set(BODY "${BODY}" PARENT_SCOPE)
endfunction()

tool(new-project ${P})

# --- The database window's size file ----------------------------------------
# Read as start-up reads it and written back at 340 with the same members; a
# missing or newer file is left as it is (never created).
set(sheet ${P}/e_data/SheetSize.dat)
tool(build ${DATA}/SheetSize.json ${sheet})
dump(${sheet})
set(sheetBody "${BODY}")
set_version(${sheet} 10)
expect_version(${sheet} 10)
tool(upgrade ${P})
expect_version(${sheet} 340)
expect_same("SheetSize.dat after the upgrade" "${sheetBody}" "${BODY}")

file(REMOVE ${sheet})
tool(upgrade ${P})
if(EXISTS ${sheet})
  message(FATAL_ERROR "the upgrade created SheetSize.dat")
endif()

tool(build ${DATA}/SheetSize.json ${sheet})
set_version(${sheet} 341)
file(SHA256 ${sheet} before)
tool(upgrade ${P})
file(SHA256 ${sheet} after)
if(NOT before STREQUAL after)
  message(FATAL_ERROR "the upgrade rewrote a SheetSize.dat of a newer version")
endif()

file(REMOVE ${sheet})

# --- The remembered stage -----------------------------------------------------
# Settings of 340 may name a stage kept as .stg or one outside "data\stg"; the
# upgrade reads it as start-up does and writes it at its own path, and still
# upgrades the stages under "data\stg".
dump(${P}/data/stg/Stage01.stg2)
set(stageBody "${BODY}")
dump(${P}/e_data/EditConfig.dat)
set(settings "${BODY}")
file(MAKE_DIRECTORY ${P}/stages)
foreach(case "data/stg/C.stg|data\\\\stg\\\\C.stg" "stages/X.stg2|stages\\\\X.stg2")
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 file)
  list(GET case 1 stored)
  file(COPY_FILE ${P}/data/stg/Stage01.stg2 ${P}/${file})
  set_version(${P}/${file} 300)
  set_version(${P}/data/stg/Stage01.stg2 300)
  string(JSON named SET "${settings}" stagePath "\"${stored}\"")
  build(${P}/e_data/EditConfig.dat EditConfig.dat record "${named}")
  tool(upgrade ${P})
  expect_version(${P}/${file} 340 --type Stage01.stg2)
  expect_same("${file} after the upgrade" "${stageBody}" "${BODY}")
  expect_version(${P}/data/stg/Stage01.stg2 340)
  dump(${P}/e_data/EditConfig.dat)
  string(JSON path GET "${BODY}" stagePath)
  string(REPLACE "\\\\" "\\" want "${stored}")
  if(NOT path STREQUAL want)
    message(FATAL_ERROR "the upgrade changed the remembered stage to ${path}")
  endif()
endforeach()
if(EXISTS ${P}/data/stg/C.stg2)
  message(FATAL_ERROR "the upgrade wrote the remembered .stg stage under another name")
endif()

# --- Characters stamped before the personal senses ----------------------------
# An ally and an enemy of 340 with stamp 0 keep every member through the
# upgrade except what is worked out from the class: the class table copied, the
# personal table = effective - class. The stamp stays 0, so after the class
# changes the effective table is still the character's own.
set(classes ${P}/data/database/Class.dat)
dump(${classes})
set(classList "${BODY}")
function(set_class_senses senses)
  string(JSON list SET "${classList}" 0 senses "${senses}")
  build(${classes} Class.dat list "${list}")
endfunction()
set_class_senses("[[1, 1, 0], [0, 0]]")

set(effective "[[5, 7, 1], [2, 3]]")
foreach(table Friend Enemy)
  set(file ${P}/data/database/${table}.dat)
  dump(${file})
  string(JSON chara GET "${BODY}" 1)
  string(JSON class GET "${chara}" class)
  if(NOT class EQUAL 0)
    message(FATAL_ERROR "${table} 1 of the starter project is no longer of class 0")
  endif()
  string(JSON chara SET "${chara}" senseStamp 0)
  string(JSON chara SET "${chara}" senses "${effective}")
  string(JSON chara SET "${chara}" classSenses "[[0, 0, 0], [0, 0]]")
  string(JSON chara SET "${chara}" ownSenses "[[0, 0, 0], [0, 0]]")
  string(JSON list SET "${BODY}" 1 "${chara}")
  build(${file} ${table}.dat list "${list}")
  set(${table}Before "${list}")
endforeach()

foreach(step "[[1, 1, 0], [0, 0]]|[[4, 6, 1], [2, 3]]" "[[2, 2, 0], [0, 0]]|[[3, 5, 1], [2, 3]]")
  string(REPLACE "|" ";" step "${step}")
  list(GET step 0 classSenses)
  list(GET step 1 ownSenses)
  set_class_senses("${classSenses}")
  tool(upgrade ${P})
  foreach(table Friend Enemy)
    string(JSON want SET "${${table}Before}" 1 classSenses "${classSenses}")
    string(JSON want SET "${want}" 1 ownSenses "${ownSenses}")
    dump(${P}/data/database/${table}.dat)
    string(JSON e GET "${want}" 1)
    string(JSON a GET "${BODY}" 1)
    expect_same("${table} 1 after the upgrade over class senses ${classSenses}" "${e}" "${a}")
  endforeach()
endforeach()
