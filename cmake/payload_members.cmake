# The 18 members of the payload package in package order, read from the
# product table (common/product.cpp, one row a line), and the 15 of them that
# come from outside (the vendor's files, or our stand-ins). A name the table
# writes as a macro is looked up in common/names.h. The packer checks the
# members it is given against the same table, so a build whose list disagrees
# with the programs' fails.
set(VARNEK_PRODUCT_TABLE ${CMAKE_SOURCE_DIR}/common/product.cpp)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${VARNEK_PRODUCT_TABLE} ${CMAKE_SOURCE_DIR}/common/names.h)
file(STRINGS ${VARNEK_PRODUCT_TABLE} rows REGEX "^ *{[^,]+, Destination::")
file(STRINGS ${CMAKE_SOURCE_DIR}/common/names.h macros REGEX "^#define VARNEK_[A-Z0-9_]+ \"")
set(VARNEK_PAYLOAD_MEMBERS)
set(VARNEK_PAYLOAD_VENDOR_FILES)
foreach(row ${rows})
  string(REGEX REPLACE "^ *{([^,]+), .*Source::(k[A-Za-z]+)}.*$" "\\1;\\2" fields "${row}")
  list(GET fields 0 name)
  list(GET fields 1 source)
  if(name MATCHES "^\"(.+)\"$")
    set(name ${CMAKE_MATCH_1})
  else()
    set(value)
    foreach(macro ${macros})
      if(macro MATCHES "^#define ${name} \"(.+)\"")
        set(value ${CMAKE_MATCH_1})
      endif()
    endforeach()
    if(NOT value)
      message(FATAL_ERROR "common/names.h does not define ${name}, named in the product table")
    endif()
    set(name ${value})
  endif()
  list(APPEND VARNEK_PAYLOAD_MEMBERS ${name})
  if(source STREQUAL "kVendor")
    list(APPEND VARNEK_PAYLOAD_VENDOR_FILES ${name})
  endif()
endforeach()

# Stops the configuration when folder lacks one of the 15 files (names as
# written, letter case included).
function(varnek_check_vendor_dir folder)
  set(missing)
  foreach(name ${VARNEK_PAYLOAD_VENDOR_FILES})
    if(NOT EXISTS ${folder}/${name})
      list(APPEND missing ${name})
    endif()
  endforeach()
  if(missing)
    list(JOIN missing ", " missing)
    message(FATAL_ERROR "The payload folder ${folder} lacks: ${missing}")
  endif()
endfunction()
