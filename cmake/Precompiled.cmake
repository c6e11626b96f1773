# Precompiled headers: the standard and Qt headers that most files of a target include, compiled
# once for the target instead of once for every file. Each kind adds to the one before it; a target
# whose files must stay free of Qt (the .xls code, for glib's sake, and the file library) takes STD.
set(rostelle_pch_STD <algorithm> <cstddef> <cstdint> <functional> <map> <memory> <optional> <string>
                     <string_view> <utility> <vector>)
set(rostelle_pch_CORE ${rostelle_pch_STD} <QByteArray> <QHash> <QList> <QObject> <QString> <QStringList>
                      <QVariant>)
set(rostelle_pch_GUI ${rostelle_pch_CORE} <QColor> <QFont> <QFontMetrics> <QImage> <QPainter> <QRect>)
set(rostelle_pch_WIDGETS ${rostelle_pch_GUI} <QApplication> <QWidget>)

# rostelle_precompile(KIND target...), KIND one of STD, CORE, GUI, WIDGETS; TEST_ before a kind
# adds GoogleTest's header.
function(rostelle_precompile kind)
  set(headers)
  if(kind MATCHES "^TEST_(.*)$")
    set(kind ${CMAKE_MATCH_1})
    list(APPEND headers <gtest/gtest.h>)
  endif()
  list(PREPEND headers ${rostelle_pch_${kind}})
  foreach(target IN LISTS ARGN)
    if(TARGET ${target})
      target_precompile_headers(${target} PRIVATE ${headers})
    endif()
  endforeach()
endfunction()
