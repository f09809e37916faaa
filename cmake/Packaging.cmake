# The Debian package (scripts/package.sh): `cpack -G DEB` in a build made
# for it. The libraries the program links come from dpkg-shlibdeps; what it
# loads at run time as Qt plugins, shlibdeps cannot see, so it is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pramel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Pramel developers")
set(CPACK_PACKAGE_CONTACT "Pramel maintainers <maintainers@users.noreply.c-seed-f2c1bd4e.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vocabulary trainer that works through the words of a text")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/pramel/pramel")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs the X11 platform plugin, and its icon the SVG plugins;
# the click sound plays through GStreamer's base plugins; the language of an
# opened text is told by libexttextcat's models; libzip is loaded when a
# book is opened, MeCab when a Japanese text is split, Hunspell when a
# dictionary of word forms is opened and libexttextcat when an opened text's
# language is told, so shlibdeps cannot see them either. Hunspell's and
# MeCab's dictionaries are recommended: without one, a language's forms stay apart
# and Japanese is cut with ICU's dictionary. The glosses come from a DICT
# server with FreeDict's dictionaries, recommended too: without them the
# gloss line says what to install.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6svg6, libexttextcat-data, libzip${PRAMEL_LIBZIP_SOVERSION}, \
libmecab${PRAMEL_MECAB_SOVERSION}, lib${PRAMEL_HUNSPELL_NAME}-${PRAMEL_HUNSPELL_SOVERSION}, \
lib${PRAMEL_EXTTEXTCAT_NAME}-${PRAMEL_EXTTEXTCAT_SOVERSION}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "gstreamer1.0-plugins-base, qt6-translations-l10n, qt6-speech-speechd-plugin, speech-dispatcher-espeak-ng, \
mecab-ipadic-utf8, hunspell-de-de, hunspell-ru, hunspell-es, hunspell-fr, hunspell-it, hunspell-en-us, \
dictd, dict-freedict-deu-eng, dict-freedict-spa-eng, dict-freedict-fra-eng, dict-freedict-ita-eng, \
dict-freedict-jpn-eng, dict-wn")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack puts the summary first and indents the rest as Debian wants it.
set(CPACK_PACKAGE_DESCRIPTION "Pramel helps language learners read real texts. Keep a list of titles, one
per text you study: paste its text, or open a book (plain text in any common
encoding, EPUB) or a subtitle file (SRT, WebVTT) as a new title.

Pramel splits the text into words and shows them one at a time: mark each
word as known or unwanted, or set it aside until the next split, with a
button or a key. Registered words are left out of the next split. All of
them can be exported to a CSV file and restored from one.")

include(CPack)
