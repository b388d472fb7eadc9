# The release archive ulmora-<version>-win64.zip: ulmora.exe, the read-me in Chinese and English
# and the licence, in one folder of the same name. In the windows build:
#   cpack --config build/windows/CPackConfig.cmake -B build/windows/package
# The version is the project's.
if(NOT TARGET ulmora)
  message(STATUS "packaging: no target ulmora yet; no release archive")
  return()
endif()

install(TARGETS ulmora RUNTIME DESTINATION . COMPONENT release)

# Windows readers get CRLF line ends; the read-me carries a byte-order mark so that Notepad takes
# it as UTF-8 on a system whose ANSI code page is GBK.
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt ${CMAKE_BINARY_DIR}/packaging/README.txt
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt
  @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt
  DESTINATION . COMPONENT release)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ulmora)
set(CPACK_PACKAGE_VENDOR "The Ulmora developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ulmora-${PROJECT_VERSION}-win64)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# Only the release component: whatever else the build installs stays out of the archive.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};release;/")
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
