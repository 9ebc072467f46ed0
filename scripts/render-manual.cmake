# SPDX-License-Identifier: GPL-3.0-or-later
# Renders one page of the user's manual from Markdown to a whole HTML page, with links to the
# pages before and after it and to the index. Links to other pages (NAME.md) become links to
# their HTML (NAME.html). A link or picture that points to a file the manual does not have
# fails the build, and so does a picture from the network: the manual loads nothing from
# outside.
#
#   cmake -DCMARK=cmark-gfm -DSOURCE=PAGE.md -DOUTPUT=PAGE.html [-DPREVIOUS=P.md] [-DNEXT=N.md]
#         -P render-manual.cmake

get_filename_component(folder "${SOURCE}" DIRECTORY)
get_filename_component(name "${SOURCE}" NAME_WE)

# A page's title: its first heading.
function(title_of page out)
  file(STRINGS "${page}" heading REGEX "^# " LIMIT_COUNT 1 ENCODING UTF-8)
  string(REGEX REPLACE "^# +" "" heading "${heading}")
  set(${out} "${heading}" PARENT_SCOPE)
endfunction()

execute_process(COMMAND "${CMARK}" --to html --extension table --extension autolink "${SOURCE}"
  OUTPUT_VARIABLE body RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${CMARK} could not render ${SOURCE}")
endif()

string(REGEX MATCHALL "(href|src)=\"[^\"]*\"" targets "${body}")
foreach(target IN LISTS targets)
  string(REGEX REPLACE "^(href|src)=\"([^\"#]*).*$" "\\2" file "${target}")
  if(file MATCHES "^[a-z]+:")
    if(target MATCHES "^src=")
      message(FATAL_ERROR "${SOURCE}: a picture from outside the manual: ${target}")
    endif()
  elseif(file MATCHES "^/|\\.\\./")
    message(FATAL_ERROR "${SOURCE}: ${target} points outside the manual")
  elseif(NOT file STREQUAL "" AND NOT EXISTS "${folder}/${file}")
    message(FATAL_ERROR "${SOURCE}: ${target} points to a file the manual does not have")
  endif()
endforeach()
string(REGEX REPLACE "href=\"([^\":/#]+)\\.md" "href=\"\\1.html" body "${body}")

title_of("${SOURCE}" title)
set(links "")
if(PREVIOUS)
  title_of("${PREVIOUS}" previous_title)
  get_filename_component(previous_name "${PREVIOUS}" NAME_WE)
  string(APPEND links "<a rel=\"prev\" href=\"${previous_name}.html\">« ${previous_title}</a>")
endif()
if(NOT name STREQUAL "index" AND NOT previous_name STREQUAL "index")
  string(APPEND links " · <a href=\"index.html\">Índice</a>")
endif()
if(NEXT)
  title_of("${NEXT}" next_title)
  get_filename_component(next_name "${NEXT}" NAME_WE)
  string(APPEND links " · <a rel=\"next\" href=\"${next_name}.html\">${next_title} »</a>")
endif()
string(REGEX REPLACE "^ · " "" links "${links}")

if(name STREQUAL "index")
  set(head_title "${title}")
else()
  set(head_title "${title} — Manual de la Calculadora Dravello")
endif()

file(WRITE "${OUTPUT}" "<!DOCTYPE html>
<html lang=\"es\">
<head>
<meta charset=\"utf-8\">
<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">
<title>${head_title}</title>
<style>
body { font-family: 'Liberation Sans', Arial, sans-serif; line-height: 1.5; color: #1b1b1b;
       max-width: 52em; margin: 0 auto; padding: 1em 1.5em; }
h1, h2, h3 { color: #5a2d0c; line-height: 1.2; }
a { color: #1f3f7a; }
img { max-width: 100%; height: auto; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #b9a58f; padding: 0.3em 0.6em; text-align: left; vertical-align: top; }
th { background: #f3e9dc; }
code { background: #f4f1ec; padding: 0 0.2em; }
nav { font-size: 0.95em; margin: 1em 0; }
</style>
</head>
<body>
<nav>${links}</nav>
<main>
${body}</main>
<nav>${links}</nav>
</body>
</html>
")
