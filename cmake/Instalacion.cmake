# Installation and the Debian package. The program's folder (the program, its SQL console,
# the company tool, the report definitions and the other read-only files it looks for
# beside itself) goes under lib/prorrata; bin holds links to the three commands; the icon,
# the desktop entry, the manual pages and the package's documents go to the usual folders;
# /etc/prorrata/servidores.ini holds the administrator's registry of servers (commented
# examples only). Nothing under the program's folder is written at run time.
include(GNUInstallDirs)
# Installing (and cpack) takes what is built; it does not build every test and benchmark first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(PRORRATA_CARPETA_PROGRAMA "lib/prorrata" CACHE STRING "The program's folder, relative to the install prefix")
# An absolute folder: the program looks there whatever the prefix. A staged install
# (DESTDIR, the package) puts it under the staging folder.
set(PRORRATA_CARPETA_SISTEMA "/etc/prorrata" CACHE STRING "The system's configuration folder")

set(_comandos prorrata prorrata-sql prorrata-empresa)
install(TARGETS ${_comandos} RUNTIME DESTINATION ${PRORRATA_CARPETA_PROGRAMA})
# The SQLite extension (collation VL and the program's functions) for sqlite3 and other tools.
install(TARGETS sqlite_vl LIBRARY DESTINATION ${PRORRATA_CARPETA_PROGRAMA})
# The report definitions lie beside the program: its folder is the reports folder.
file(GLOB _definiciones ${CMAKE_SOURCE_DIR}/resources/reportes/*.rpt)
install(FILES ${_definiciones} DESTINATION ${PRORRATA_CARPETA_PROGRAMA})
# So do the form's stored control properties, the look-up definitions, the skins and the
# command bar's icons.
install(FILES ${CMAKE_SOURCE_DIR}/resources/formularios/frmProrrata.propiedades
              ${CMAKE_BINARY_DIR}/src/app/consultas.vlx
        DESTINATION ${PRORRATA_CARPETA_PROGRAMA})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/Styles DESTINATION ${PRORRATA_CARPETA_PROGRAMA})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/img_menu DESTINATION ${PRORRATA_CARPETA_PROGRAMA} FILES_MATCHING PATTERN "*.png")

file(RELATIVE_PATH _hacia_programa /raiz/${CMAKE_INSTALL_BINDIR} /raiz/${PRORRATA_CARPETA_PROGRAMA})
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/enlaces)
foreach(_comando ${_comandos})
  file(CREATE_LINK ${_hacia_programa}/${_comando} ${CMAKE_BINARY_DIR}/enlaces/${_comando} SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/enlaces/${_comando} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/resources/paquete/servidores.ini DESTINATION ${PRORRATA_CARPETA_SISTEMA})

set(_iconos ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icono/vela.svg DESTINATION ${_iconos}/scalable/apps RENAME prorrata.svg)
file(GLOB _pngs ${CMAKE_SOURCE_DIR}/resources/icono/vela-*.png)
foreach(_png ${_pngs})
  string(REGEX REPLACE ".*vela-([0-9]+)\\.png$" "\\1" _lado ${_png})
  install(FILES ${_png} DESTINATION ${_iconos}/${_lado}x${_lado}/apps RENAME prorrata.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/prorrata.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# Manual pages and the changelog, compressed as Debian keeps them (gzip -n: reproducible).
set(_comprimidos)
foreach(_fuente man/prorrata.1 man/prorrata-sql.1 man/prorrata-empresa.1 paquete/changelog)
  get_filename_component(_nombre ${_fuente} NAME)
  set(_gz ${CMAKE_BINARY_DIR}/comprimidos/${_nombre}.gz)
  add_custom_command(OUTPUT ${_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/comprimidos
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/resources/${_fuente} > ${_gz}
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/${_fuente} VERBATIM)
  list(APPEND _comprimidos ${_gz})
endforeach()
add_custom_target(comprimidos ALL DEPENDS ${_comprimidos})
list(FILTER _comprimidos INCLUDE REGEX "\\.1\\.gz$")
install(FILES ${_comprimidos} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/resources/paquete/copyright ${CMAKE_BINARY_DIR}/comprimidos/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/prorrata)

# cpack -G DEB in the build folder: a package for Debian 12. The libraries come from
# dpkg-shlibdeps; the Qt platform plugins, the SVG image plugin and the ODBC drivers are
# loaded at run time, so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME prorrata)
set(CPACK_PACKAGE_VENDOR "ORBE VELA")
set(CPACK_PACKAGE_CONTACT "Equipo de ORBE VELA <soporte@orbevela.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor de tablas de distribución de centros de costo")
# The synopsis is the summary above; CPack indents these lines and turns the empty one into " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "prorrata es el módulo del sistema contable de ORBE VELA que crea, modifica,
borra e imprime las tablas de distribución de centros de costo de una empresa
y les asigna cuentas, con búsquedas en lista y en árbol y reportes en PDF.

Trabaja sobre bases SQLite (archivos en la carpeta del usuario), sobre un
servidor PostgreSQL compartido por la oficina, y sobre SQL Server u Oracle por
ODBC. Trae la herramienta prorrata-empresa, que crea la empresa de
demostración o una vacía, la consola prorrata-sql y una extensión de SQLite,
vl.so, para abrir los archivos de las empresas con sqlite3.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY prorrata)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Staged through DESTDIR, so that the absolute /etc folder lands in the package.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://orbevela.invalid/prorrata")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, unixodbc")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tdsodbc, odbc-postgresql, qt6-translations-l10n, fonts-dejavu-core, sqlite3")
# The administrator's registry is a conffile: an upgrade keeps the edited one.
file(WRITE ${CMAKE_BINARY_DIR}/paquete/conffiles "${PRORRATA_CARPETA_SISTEMA}/servidores.ini\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/paquete/conffiles)
include(CPack)
