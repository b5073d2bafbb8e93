# Installation and the Debian package. The program's folder (the program, its SQL console,
# the report definitions; the program looks for its files beside itself) goes under
# lib/prorrata; bin holds links to both commands; the icon and the desktop entry go to
# the shared icon theme and the applications folder.
include(GNUInstallDirs)
set(PRORRATA_CARPETA_PROGRAMA "lib/prorrata" CACHE STRING "The program's folder, relative to the install prefix")

install(TARGETS prorrata prorrata-sql RUNTIME DESTINATION ${PRORRATA_CARPETA_PROGRAMA})
# The report definitions lie beside the program: its folder is the reports folder.
file(GLOB _definiciones ${CMAKE_SOURCE_DIR}/resources/reportes/*.rpt)
install(FILES ${_definiciones} DESTINATION ${PRORRATA_CARPETA_PROGRAMA})
# So do the form's stored control properties, the skins and the command bar's icons.
install(FILES ${CMAKE_SOURCE_DIR}/resources/formularios/frmProrrata.propiedades DESTINATION ${PRORRATA_CARPETA_PROGRAMA})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/Styles DESTINATION ${PRORRATA_CARPETA_PROGRAMA})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/img_menu DESTINATION ${PRORRATA_CARPETA_PROGRAMA} FILES_MATCHING PATTERN "*.png")

file(RELATIVE_PATH _hacia_programa /raiz/${CMAKE_INSTALL_BINDIR} /raiz/${PRORRATA_CARPETA_PROGRAMA})
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/enlaces)
foreach(_comando prorrata prorrata-sql)
  file(CREATE_LINK ${_hacia_programa}/${_comando} ${CMAKE_BINARY_DIR}/enlaces/${_comando} SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/enlaces/${_comando} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

set(_iconos ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icono/vela.svg DESTINATION ${_iconos}/scalable/apps RENAME prorrata.svg)
file(GLOB _pngs ${CMAKE_SOURCE_DIR}/resources/icono/vela-*.png)
foreach(_png ${_pngs})
  string(REGEX REPLACE ".*vela-([0-9]+)\\.png$" "\\1" _lado ${_png})
  install(FILES ${_png} DESTINATION ${_iconos}/${_lado}x${_lado}/apps RENAME prorrata.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/prorrata.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# cpack -G DEB in the build folder: a package for Debian 12. The libraries come from
# dpkg-shlibdeps; the Qt platform plugins and the ODBC drivers are loaded at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME prorrata)
set(CPACK_PACKAGE_VENDOR "ORBE VELA")
set(CPACK_PACKAGE_CONTACT "Equipo de ORBE VELA <soporte@orbevela.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor de tablas de distribución de centros de costo")
set(CPACK_PACKAGE_INSTALL_DIRECTORY prorrata)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, unixodbc")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tdsodbc, odbc-postgresql, qt6-translations-l10n, fonts-dejavu-core")
include(CPack)
