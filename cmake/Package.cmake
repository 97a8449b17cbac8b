# `cpack` builds a Debian package of the install layout for /usr. Its dependencies are the
# libraries the executable links (found by dpkg-shlibdeps) and what it needs beside them at run
# time: Qt's French dialog texts and the module's build tools.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexlo)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "dessiner des caractères et programmer un afficheur à points 5 × 7")
# The summary is the first line of the Description field; this is the text below it.
set(CPACK_PACKAGE_DESCRIPTION "Outil de classe en français : l'élève dessine des caractères
sur une grille de 5 × 7 points, compose une séquence, la regarde défiler, l'enregistre dans un
fichier .car et l'envoie à un module afficheur (ATmega328P) par make et avrdude.
Guide de l'enseignant : /usr/share/doc/vexlo/guide-enseignant.md")
set(CPACK_PACKAGE_CONTACT "Équipe Vexlo <vexlo@example.org>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, make, perl, gcc-avr, avr-libc, avrdude")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
set(CPACK_STRIP_FILES ON)
include(CPack)
