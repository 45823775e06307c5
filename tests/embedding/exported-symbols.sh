#!/usr/bin/env bash
# The shared library's dynamic symbol table: the published classes are
# exported (the control's meta-object, the exception's type information, the
# connection's methods) and no other class of the project is. Template
# instances of the standard library and Qt may name published classes too.
set -euo pipefail
lib=$1
published='ReportGenOCX|ReportError|DbConnection|Recordset|BoundStatement|BoundValue|StatementLimits|DrawingSurface|PropertyBag|libraryVersion|VbCollection|clsParameter|DbField|FontDescription|LayoutLabel'
symbols=$(nm -D --defined-only -C "$lib")
status=0

soname=$(readelf -d "$lib" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
case "$soname" in
  libKRMLReportGen.so.[0-9]*) echo "soname $soname" ;;
  *) echo "FAIL: soname is '$soname'"; status=1 ;;
esac

for wanted in 'KRML_ReportGen::ReportGenOCX::staticMetaObject' 'typeinfo for KRML_ReportGen::ReportError' \
              'KRML_ReportGen::DbConnection::open(' 'KRML_ReportGen::ReportGenOCX::OpenLayout(' \
              'KRML_ReportGen::ReportGenOCX::GenerateOutput(' 'KRML_ReportGen::libraryVersion()'; do
  if ! grep -qF -- "$wanted" <<<"$symbols"; then
    echo "FAIL: not exported: $wanted"
    status=1
  fi
done

# Every name of the project's namespace in an exported symbol is published.
# Instances of the standard library's templates are left out: GCC gives an
# enumeration the default visibility whatever -fvisibility says, so a
# std::map keyed by an internal enum comes out as a weak exported symbol,
# while one over an internal class stays hidden (a leaked class still shows
# in its own members' symbols).
own=$(grep -vE '^[0-9a-f]+ [WV] std::' <<<"$symbols" || true)
leaked=$(grep -oE 'KRML_ReportGen::[A-Za-z_][A-Za-z0-9_]*' <<<"$own" | sort -u | grep -vE "^KRML_ReportGen::($published)\$" || true)
if [ -n "$leaked" ]; then
  echo "FAIL: classes exported that are not published:"
  sed 's/^/  /' <<<"$leaked"
  grep -E "$(tr '\n' '|' <<<"$leaked" | sed 's/|$//')" <<<"$symbols" | head -20 | sed 's/^/    /'
  status=1
fi

count=$(grep -c 'KRML_ReportGen::' <<<"$symbols" || true)
total=$(wc -l <<<"$symbols")
echo "$count exported symbols name the project's classes; $total exported in all"
exit $status
