# tavozz-cli on a fresh data directory: the code tables are there.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CLI} init ${WORK}/Datazz RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "init failed: ${rc}")
endif()
foreach(pair "druhy;6" "zz_druhy;9")
  list(GET pair 0 table)
  list(GET pair 1 expected)
  execute_process(COMMAND ${CLI} sql ${WORK} "select count(*) from ${table}" OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "count(*)\n${expected}\n")
    message(FATAL_ERROR "select count(*) from ${table}: '${out}' (rc ${rc}), expected ${expected}")
  endif()
endforeach()
# an existing data directory is never overwritten
execute_process(COMMAND ${CLI} init ${WORK}/Datazz RESULT_VARIABLE rc ERROR_VARIABLE errout)
if(rc EQUAL 0)
  message(FATAL_ERROR "a second init must refuse")
endif()
# planning on a day, with a bad date refused
execute_process(COMMAND ${CLI} plan ${WORK} vp 1.1.2030 OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^D\tTYP\tOZNACENI")
  message(FATAL_ERROR "plan: '${out}' (rc ${rc})")
endif()
execute_process(COMMAND ${CLI} plan ${WORK} vp 31.2.2030 RESULT_VARIABLE rc ERROR_VARIABLE errout)
if(rc EQUAL 0 OR NOT errout MATCHES "Neplatné datum")
  message(FATAL_ERROR "plan with a bad date: rc ${rc} '${errout}'")
endif()
# the list of a register into a workbook from the installed template
execute_process(COMMAND ${CLI} xlsx-list ${WORK} zz --out ${WORK}/zz.xlsx OUTPUT_VARIABLE out RESULT_VARIABLE rc ERROR_VARIABLE errout)
if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/zz.xlsx)
  message(FATAL_ERROR "xlsx-list: rc ${rc} '${out}' '${errout}'")
endif()
# the month step of the next inspection date, and its bad input
foreach(case "31.8.2005;6;28.02.2006" "29.2.2004;36;28.02.2007" "31.7.2005;9;30.04.2006" "15.3.2005;0;15.03.2005"
             "31.12.2004;3;31.03.2005")
  list(GET case 0 day)
  list(GET case 1 n)
  list(GET case 2 want)
  execute_process(COMMAND ${CLI} monthstep ${day} ${n} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  string(STRIP "${out}" out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL want)
    message(FATAL_ERROR "monthstep ${day} ${n}: '${out}' (rc ${rc}), expected ${want}")
  endif()
endforeach()
execute_process(COMMAND ${CLI} monthstep 30.2.2005 1 RESULT_VARIABLE rc ERROR_VARIABLE errout)
if(rc EQUAL 0 OR NOT errout MATCHES "Neplatné datum")
  message(FATAL_ERROR "monthstep with a bad date: rc ${rc} '${errout}'")
endif()
execute_process(COMMAND ${CLI} monthstep 1.1.2005 x RESULT_VARIABLE rc ERROR_VARIABLE errout)
if(rc EQUAL 0 OR NOT errout MATCHES "celé číslo")
  message(FATAL_ERROR "monthstep with a bad count: rc ${rc} '${errout}'")
endif()

# report run: the installed accessory overview over a query of the demo data
execute_process(COMMAND ${CLI} init ${WORK}/demo/Datazz --demo RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "init --demo failed: ${rc}")
endif()
set(basic_sql "Select firmy.firma, druhy.nazev as D, basic.* from basic, firmy, druhy where basic.firma=firmy.pcfir and basic.druh=druhy.druh order by basic.evid_c")
foreach(fmt txt pdf html rtf svg)
  execute_process(COMMAND ${CLI} report run ${REPORTS}/pvp.pts --data ${WORK}/demo --sql "${basic_sql}"
                          --param "Firma & syn <test>" --format ${fmt} --out ${WORK}/pvp.${fmt}
                  OUTPUT_VARIABLE out ERROR_VARIABLE errout RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "stran 1, záznamů 6")
    message(FATAL_ERROR "report run --format ${fmt}: rc ${rc} '${out}' '${errout}'")
  endif()
endforeach()
foreach(f pvp.txt pvp.pdf pvp.html pvp.rtf pvp1.svg)
  if(NOT EXISTS ${WORK}/${f})
    message(FATAL_ERROR "report run wrote no ${f}")
  endif()
endforeach()
# every row of the query is in the text page, in query order, and the count at the end
file(READ ${WORK}/pvp.txt txt)
foreach(evc L-014 R-001 R-002 S-07 T-03 X-120)
  string(FIND "${txt}" "${evc}" pos)
  if(pos LESS 0)
    message(FATAL_ERROR "report run txt: ${evc} missing")
  endif()
  if(DEFINED last AND pos LESS last)
    message(FATAL_ERROR "report run txt: ${evc} out of the query's order")
  endif()
  set(last ${pos})
endforeach()
if(NOT txt MATCHES "Firma & syn <test>" OR NOT txt MATCHES "polo[^ ]ek: +6 *\r?\n")
  message(FATAL_ERROR "report run txt: parameter or count missing:\n${txt}")
endif()
file(READ ${WORK}/pvp.html html)
if(NOT html MATCHES "Firma &amp; syn &lt;test&gt;")
  message(FATAL_ERROR "report run html: the parameter is not escaped")
endif()
file(READ ${WORK}/pvp.pdf pdfhead LIMIT 5)
if(NOT pdfhead MATCHES "^%PDF-")
  message(FATAL_ERROR "report run pdf: not a PDF ('${pdfhead}')")
endif()
# a parameter in the definition's code page through --codepage
execute_process(COMMAND ${CLI} report run ${REPORTS}/pvp.pts --data ${WORK}/demo --sql "${basic_sql}"
                        --format txt --codepage ascii --out ${WORK}/pvp-ascii.txt RESULT_VARIABLE rc OUTPUT_QUIET)
file(READ ${WORK}/pvp-ascii.txt txt)
if(NOT rc EQUAL 0 OR NOT txt MATCHES "Prehled vazacich prostredku")
  message(FATAL_ERROR "report run --codepage ascii: rc ${rc}")
endif()
# refused: wrong format, a statement that is not a query (nothing changes), a missing definition, a bad query
foreach(case
    "--format;doc;--sql;${basic_sql};Neznámý výstupní formát"
    "--format;txt;--sql;delete from basic;musí být příkaz select"
    "--format;txt;--sql;select * from neni_tabulka;Dotaz se nepodařilo provést")
  list(GET case 0 o1)
  list(GET case 1 v1)
  list(GET case 2 o2)
  list(GET case 3 v2)
  list(GET case 4 expected)
  execute_process(COMMAND ${CLI} report run ${REPORTS}/pvp.pts --data ${WORK}/demo ${o1} ${v1} ${o2} ${v2}
                          --out ${WORK}/refused.out RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE errout)
  if(rc EQUAL 0 OR NOT errout MATCHES "${expected}" OR EXISTS ${WORK}/refused.out)
    message(FATAL_ERROR "report run ${v1} '${v2}': rc ${rc} '${errout}', expected '${expected}'")
  endif()
endforeach()
execute_process(COMMAND ${CLI} sql ${WORK}/demo "select count(*) from basic" OUTPUT_VARIABLE out)
if(NOT out STREQUAL "count(*)\n6\n")
  message(FATAL_ERROR "a refused report run changed the data: '${out}'")
endif()
execute_process(COMMAND ${CLI} report run ${WORK}/neni.pts --data ${WORK}/demo --sql "${basic_sql}" --format txt
                        --out ${WORK}/refused.out RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE errout)
if(NOT rc EQUAL 1 OR NOT errout MATCHES "Nebyl nalezen soubor s předlohou tiskové sestavy")
  message(FATAL_ERROR "report run of a missing definition: rc ${rc} '${errout}'")
endif()

# --- From a folder that is not a program folder: a fresh data directory made by
# init uses the templates and report definitions installed beside the programs.
get_filename_component(bindir ${CLI} DIRECTORY)
set(away ${WORK}/away)
set(fresh ${WORK}/fresh)
file(MAKE_DIRECTORY ${away})
execute_process(COMMAND ${CLI} init ${fresh} WORKING_DIRECTORY ${away} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "init ${fresh} failed: ${rc}")
endif()
# each: the arguments (separated by "|"), then the workbook written (relative to the folder away)
foreach(case
    "xlsx-list|${fresh}|vp|--out|vp.xlsx;vp.xlsx"
    "xlsx-list|${fresh}|zz|--plan|1.1.2030|--firma|1|--out=plan.xlsx;plan.xlsx")
  list(GET case 0 argtext)
  list(GET case 1 book)
  string(REPLACE "|" ";" cmdargs "${argtext}")
  execute_process(COMMAND ${CLI} ${cmdargs} WORKING_DIRECTORY ${away}
                  OUTPUT_VARIABLE out ERROR_VARIABLE errout RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT EXISTS ${away}/${book} OR NOT out MATCHES "do ${away}/${book}")
    message(FATAL_ERROR "${argtext}: rc ${rc} '${out}' '${errout}'")
  endif()
  file(READ ${away}/${book} head LIMIT 2 HEX)
  if(NOT head STREQUAL "504b")
    message(FATAL_ERROR "${argtext}: ${book} is not a workbook")
  endif()
endforeach()
# a report definition by its name only: the one beside the programs
execute_process(COMMAND ${CLI} report run pvp.pts --data ${fresh} --sql "select * from basic" --format txt --out pvp.txt
                WORKING_DIRECTORY ${away} OUTPUT_VARIABLE out ERROR_VARIABLE errout RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT EXISTS ${away}/pvp.txt)
  message(FATAL_ERROR "report run pvp.pts from ${away}: rc ${rc} '${out}' '${errout}'")
endif()
# a definition that is nowhere: every folder searched is named, with '/'
execute_process(COMMAND ${CLI} report run neni.pts --data ${fresh} --sql "select * from basic" --format txt --out neni.txt
                WORKING_DIRECTORY ${away} OUTPUT_QUIET ERROR_VARIABLE errout RESULT_VARIABLE rc)
get_filename_component(freshparent ${fresh} DIRECTORY)
foreach(folder "${away}" "${freshparent}/reports" "${bindir}/reports")
  string(FIND "${errout}" "${folder}" pos)
  if(rc EQUAL 0 OR pos LESS 0)
    message(FATAL_ERROR "report run neni.pts: rc ${rc}, '${folder}' not named in '${errout}'")
  endif()
endforeach()

# --- Wrong command lines: a Czech message on stderr, nothing on stdout, a
# non-zero exit, and nothing written. Each case: the arguments separated by
# "|", then a fragment of the message.
set(refused ${away}/refused.out)
foreach(case
    "monthstep|1.1.0001|-1;mimo roky 1 až 9999"
    "monthstep|31.1.2027|-30000;mimo roky 1 až 9999"
    "monthstep|31.12.9999|1;mimo roky 1 až 9999"
    "monthstep|1.1.0000|1;Neplatné datum: 1.1.0000"
    "monthstep|1.1.10000|1;Neplatné datum: 1.1.10000"
    "monthstep|1.1.05|1;Neplatné datum: 1.1.05"
    "monthstep|2005-01-01|1;Neplatné datum: 2005-01-01"
    "monthstep|1.1.2005x|1;Neplatné datum"
    "monthstep|1.1.2005|1.5;Počet měsíců musí být celé číslo"
    "monthstep|1.1.2005|99999999999;Počet měsíců musí být celé číslo"
    "monthstep|1.1.2005;Chybí argument N"
    "monthstep|1.1.2005|1|2;Nadbytečný argument: 2"
    "monthstep|1.1.2005|1|--x;Neznámá volba: --x"
    "plan|${fresh}|vp|31.2.2030;Neplatné datum: 31.2.2030"
    "plan|${fresh}|vp|1.1.2030|--firma|0;Číslo firmy musí být celé číslo od 1 do 998"
    "plan|${fresh}|vp|1.1.2030|--firma|2x;Číslo firmy musí být celé číslo"
    "plan|${fresh}|vp|1.1.2030|--firma;Chybí hodnota za volbou --firma"
    "plan|${fresh}|xx|1.1.2030;Neznámý registr: xx"
    "plan|${fresh}|vp|1.1.2030|--den|1;Neznámá volba: --den"
    "plan|${fresh}|vp;Chybí argument DATUM"
    "xlsx-list|${fresh}|vp;Chybí volba --out"
    "xlsx-list|${fresh}|vp|--out;Chybí hodnota za volbou --out"
    "xlsx-list|${fresh}|vp|--out|--firma|1;Chybí hodnota za volbou --out"
    "xlsx-list|${fresh}|vp|--plan|1.13.2030|--out|${refused};Neplatné datum: 1.13.2030"
    "xlsx-list|${fresh}|vp|--out|${refused}|--out|${refused};Volba --out je zadána vícekrát"
    "xlsx-list|${fresh}|vp|--out|${refused}|-o;Neznámá volba: -o"
    "init|--demo;Chybí argument DATADIR"
    "init|${away}/novy|--demo=ano;Volba --demo nemá hodnotu"
    "init|${away}/novy|--force;Neznámá volba: --force"
    "sql|${fresh};Chybí argument"
    "sql|${fresh}|select 1|--x;Neznámá volba: --x"
    "report;Chybí příkaz sestav"
    "report|tisk;Neznámý příkaz sestav: tisk"
    "report|check;Chybí argument"
    "report|check|pvp.pts|--x;Neznámá volba: --x"
    "report|eval;Chybí argument"
    "report|eval|1|--param;Chybí hodnota za volbou --param"
    "report|run|pvp.pts|--data|${fresh}|--format|txt|--out|${refused};Chybí volba --sql"
    "report|run|pvp.pts|--data|${fresh}|--sql|select 1|--format|txt|--out|${refused}|--x;Neznámá volba: --x"
    "tisk;Neznámý příkaz: tisk")
  list(GET case 0 argtext)
  list(GET case 1 expected)
  string(REPLACE "|" ";" cmdargs "${argtext}")
  execute_process(COMMAND ${CLI} ${cmdargs} WORKING_DIRECTORY ${away}
                  OUTPUT_VARIABLE out ERROR_VARIABLE errout RESULT_VARIABLE rc)
  string(FIND "${errout}" "${expected}" pos)
  if(rc EQUAL 0 OR pos LESS 0 OR NOT out STREQUAL "" OR EXISTS ${refused})
    message(FATAL_ERROR "tavozz-cli ${argtext}: rc ${rc}, stdout '${out}', stderr '${errout}', expected '${expected}'")
  endif()
endforeach()
# nothing was made by the refused init commands
foreach(made "${away}/--demo" "${away}/novy")
  if(EXISTS ${made})
    message(FATAL_ERROR "a refused init made ${made}")
  endif()
endforeach()
# the edges of the years 1 to 9999 still work
foreach(case "1.1.0001;0;01.01.0001" "31.12.9999;0;31.12.9999" "1.2.0001;-1;01.01.0001" "30.11.9999;1;30.12.9999"
             "31.1.2027;-24312;31.01.0001")
  list(GET case 0 day)
  list(GET case 1 n)
  list(GET case 2 want)
  execute_process(COMMAND ${CLI} monthstep ${day} ${n} WORKING_DIRECTORY ${away} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  string(STRIP "${out}" out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL want)
    message(FATAL_ERROR "monthstep ${day} ${n}: '${out}' (rc ${rc}), expected ${want}")
  endif()
endforeach()
