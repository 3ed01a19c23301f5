# The 18 members of the payload package in package order (payload/members.txt)
# and the 15 of them that come from outside (the vendor's files, or our
# stand-ins).
file(STRINGS ${CMAKE_SOURCE_DIR}/payload/members.txt VARNEK_PAYLOAD_MEMBERS)
set(VARNEK_PAYLOAD_OWN_FILES VarnekSetting.ini VarnekUI.ini Uninstaller.exe VarnekUsb64.exe)
set(VARNEK_PAYLOAD_VENDOR_FILES ${VARNEK_PAYLOAD_MEMBERS})
list(REMOVE_ITEM VARNEK_PAYLOAD_VENDOR_FILES ${VARNEK_PAYLOAD_OWN_FILES})

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
