# Install layout, relocatable under any prefix: the program keeps its library,
# skins and updater in one folder it finds beside itself, and bin/ holds
# relative links into that folder.
#   <prefix>/lib/talwyn-pro/          talwyn-pro, talwynctl, talwyn-mouse-sim,
#                                     Talwyn_pro_dll.so, Talwyn_PRO_Skins/,
#                                     Talwyn PRO firmware update software/
#   <prefix>/bin/                     links to the three programs
#   <prefix>/include/talwyn_pro_dll.h, <prefix>/lib/pkgconfig/talwyn-pro-dll.pc
#   <prefix>/lib/udev/rules.d/, <prefix>/share/{applications,metainfo,icons}

set(TALWYN_APP_ID com.orvane.TalwynPro)
set(TALWYN_APP_DIR lib/talwyn-pro)
set(_linux ${PROJECT_SOURCE_DIR}/packaging/linux)

install(TARGETS Talwyn_pro_dll LIBRARY DESTINATION ${TALWYN_APP_DIR})
install(TARGETS talwynctl talwyn-mouse-sim RUNTIME DESTINATION ${TALWYN_APP_DIR})
install(FILES include/talwyn_pro_dll.h DESTINATION include)
configure_file(${_linux}/talwyn-pro-dll.pc.in ${CMAKE_BINARY_DIR}/packaging/talwyn-pro-dll.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/talwyn-pro-dll.pc DESTINATION lib/pkgconfig)
install(FILES packaging/udev/70-talwyn-pro.rules DESTINATION lib/udev/rules.d)

set(_programs talwynctl talwyn-mouse-sim)
if(TALWYN_BUILD_GUI)
  list(APPEND _programs talwyn-pro)
  install(TARGETS talwyn-pro RUNTIME DESTINATION ${TALWYN_APP_DIR})
  install(DIRECTORY ${TALWYN_BIN_DIR}/Talwyn_PRO_Skins DESTINATION ${TALWYN_APP_DIR})
  # Built by its own target when present; installed as it stands.
  install(DIRECTORY "${TALWYN_BIN_DIR}/Talwyn PRO firmware update software" DESTINATION ${TALWYN_APP_DIR}
          USE_SOURCE_PERMISSIONS OPTIONAL)
  install(FILES ${_linux}/${TALWYN_APP_ID}.desktop DESTINATION share/applications)
  configure_file(${_linux}/${TALWYN_APP_ID}.metainfo.xml ${CMAKE_BINARY_DIR}/packaging/${TALWYN_APP_ID}.metainfo.xml
                 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${TALWYN_APP_ID}.metainfo.xml DESTINATION share/metainfo)
  install(FILES ${TALWYN_BIN_DIR}/Talwyn_PRO_Skins/Talwyn_PRO_Icon.png
          DESTINATION share/icons/hicolor/256x256/apps RENAME ${TALWYN_APP_ID}.png)
endif()

foreach(_program IN LISTS _programs)
  set(_link ${CMAKE_BINARY_DIR}/packaging/bin/${_program})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging/bin)
  file(CREATE_LINK ../${TALWYN_APP_DIR}/${_program} ${_link} SYMBOLIC)
  install(FILES ${_link} DESTINATION bin)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talwyn-pro)
set(CPACK_PACKAGE_VENDOR Orvane)
set(CPACK_PACKAGE_CONTACT "Orvane Support <support@orvane.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration program and device library of the Talwyn PRO mouse")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Dependencies come from the shared libraries the installed files link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# "Arial" in the skins is answered by Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS udev)
include(CPack)
