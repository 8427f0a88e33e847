#!/usr/bin/env bash
# Smoke test of quelt-sandbox: starts it on a free loopback port and checks its main
# behaviours with curl. Usage: sandbox_smoke.sh PATH/TO/quelt-sandbox
set -u

BIN=${1:?usage: $0 path/to/quelt-sandbox}
WORK=$(mktemp -d)
PID=

cleanup() {
    if [[ -n $PID ]] && kill -0 "$PID" 2>/dev/null; then
        kill -KILL "$PID" 2>/dev/null
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT

passed=0
failed=0
ok() {
    passed=$((passed + 1))
    echo "ok - $1"
}
ko() {
    failed=$((failed + 1))
    echo "FAILED - $1"
}
# check NAME COMMAND...: passes when the command succeeds.
check() {
    local name=$1
    shift
    if "$@"; then ok "$name"; else ko "$name"; fi
}
has() { grep -q -- "$2" "$1"; }
hasnt() { ! grep -q -- "$2" "$1"; }

# The build's default service account is not known here: use our own.
EMAIL='robot@sandbox.test'
PASS='s3cr3t:with#odd&chars'
KEY='0123456789abcdef0123456789abcdef'
AUTH=(-u "$EMAIL:$PASS" -H "Rodid-Issuer: $KEY")
C=(curl -s --max-time 5)

"$BIN" --port 0 --email "$EMAIL" --mot-de-passe "$PASS" --cle "$KEY" --log "$WORK/log.jsonl" \
    --utilisateur 'second@quelt.example:p:w' >"$WORK/stdout" 2>"$WORK/stderr" &
PID=$!
URL=
for _ in $(seq 1 100); do
    URL=$(head -n 1 "$WORK/stdout" 2>/dev/null)
    [[ -n $URL ]] && break
    kill -0 "$PID" 2>/dev/null || break
    sleep 0.1
done
if [[ ! $URL =~ ^http://127\.0\.0\.1:[0-9]+$ ]]; then
    echo "sandbox did not start:"
    cat "$WORK/stderr"
    echo "0 passed, 1 failed"
    exit 1
fi
ok "started at $URL"
timeout 5 "$BIN" --port "${URL##*:}" >/dev/null 2>&1
check "a busy port is an error" test $? -eq 1
API=$URL/api
R=$WORK/r
H=$WORK/h

status() { # status FILE ARGS...: body into FILE, prints the status code
    local file=$1
    shift
    "${C[@]}" -o "$file" -D "$H" -w '%{http_code}' "$@"
}

# --- Access control -------------------------------------------------------------
check "no credentials: 401" test "$(status "$R" "$API/v2.0/quotation-records/4711")" = 401
check "401 asks for Basic" grep -qi '^WWW-Authenticate: Basic realm="quelt"' "$H"
check "wrong password: 401" test "$(status "$R" -u "$EMAIL:nope" -H "Rodid-Issuer: $KEY" "$API/v2.0/quotation-records/4711")" = 401
check "no key: 403" test "$(status "$R" -u "$EMAIL:$PASS" "$API/v2.0/quotation-records/4711")" = 403
check "wrong key: 403" test "$(status "$R" -u "$EMAIL:$PASS" -H 'Rodid-Issuer: x' "$API/v2.0/quotation-records/4711")" = 403
check "key twice: 403" test "$(status "$R" "${AUTH[@]}" -H "Rodid-Issuer: $KEY" "$API/v2.0/quotation-records/4711")" = 403

# --- Records, check, order --------------------------------------------------------
check "record 4711: 200" test "$(status "$R" "${AUTH[@]}" "$API/v2.0/quotation-records/4711")" = 200
check "record is JSON" grep -qi '^Content-Type: application/json; charset=utf-8' "$H"
check "record sets a session cookie" grep -qi '^Set-Cookie: quelt_session=[0-9a-f]*; Path=/' "$H"
check "record content" has "$R" '"id":4711,"indirectMode":false,"location":"Salon"'
check "prices keep two decimals" has "$R" '"totalPurchaseBasePrice":1210.00,"totalPurchasePrice":943.80,"ecoTax":12.50'
check "record 812: null location" bash -c "${C[*]@Q} -u ${EMAIL@Q}:${PASS@Q} -H 'Rodid-Issuer: $KEY' $API/v2.0/quotation-records/812 | grep -q '\"location\":null'"
check "record 905: indirect, no eco tax" bash -c "${C[*]@Q} -u ${EMAIL@Q}:${PASS@Q} -H 'Rodid-Issuer: $KEY' $API/v2.0/quotation-records/905 | grep -q '\"indirectMode\":true.*\"ecoTax\":null'"
check "unknown record: 404" test "$(status "$R" "${AUTH[@]}" "$API/v2.0/quotation-records/999")" = 404

COOKIE=$(grep -i '^Set-Cookie:' "$H" | sed 's/^[^:]*: *//; s/;.*//' | tr -d '\r')
POSTJSON=(-H 'Content-Type: application/json' -H 'Content-Encoding: utf-8')
CHECK=$API/v1.1/createorderprocess/checkquotationrecords
ORDER=$API/v1.1/createorderprocess/createorder
check "check: 200" test "$(status "$R" "${AUTH[@]}" "${POSTJSON[@]}" -b "$COOKIE" --data '[812]' "$CHECK")" = 200
check "check: null error code" has "$R" '^\[{"quotationRecordId":812,"errorCode":null}\]$'
"${C[@]}" -X PUT --data-binary '"PRICER_OUTDATED"' "$URL/_sandbox/records/812/errorCode" >/dev/null
status "$R" "${AUTH[@]}" "${POSTJSON[@]}" --data '[812]' "$CHECK" >/dev/null
check "check: scripted error code" has "$R" '"errorCode":"PRICER_OUTDATED"'
check "check: bad body 400" test "$(status "$R" "${AUTH[@]}" "${POSTJSON[@]}" --data '[812' "$CHECK")" = 400
BODY='{"quotationRecordIds": [4711],"documentNumber": "de(CALVENOR)2021-042","documentTitle": "Chantier Nord","documentDate": "\/Date(1615800600250+0100)\/" ,"comment": ""}'
check "order: 200" test "$(status "$R" "${AUTH[@]}" "${POSTJSON[@]}" --data "$BODY" "$ORDER")" = 200
check "order: first reference" has "$R" '^{"reference":"CDE-815"}$'
status "$R" "${AUTH[@]}" "${POSTJSON[@]}" --data "$BODY" "$ORDER" >/dev/null
check "order: next reference" has "$R" 'CDE-816'
check "order: bad body 400" test "$(status "$R" "${AUTH[@]}" "${POSTJSON[@]}" --data 'nope' "$ORDER")" = 400

# --- Log ----------------------------------------------------------------------------
"${C[@]}" "$URL/_sandbox/log" >"$WORK/log.json"
check "log: check request sent the cookie back" has "$WORK/log.json" "\[\"Cookie\",\"$COOKIE\"\]"
check "log: body in Base64" has "$WORK/log.json" '"bodyBase64":"WzgxMl0="'
check "log: control requests left out" hasnt "$WORK/log.json" '_sandbox'
check "log file: one line per request" test "$(wc -l <"$WORK/log.jsonl")" -eq "$(grep -o '"method"' "$WORK/log.json" | wc -l)"
"${C[@]}" -X DELETE "$URL/_sandbox/log" >/dev/null
check "log: cleared" test "$("${C[@]}" "$URL/_sandbox/log")" = '[]'

# --- Overrides ------------------------------------------------------------------------
override() { "${C[@]}" -X POST --data "$1" "$URL/_sandbox/overrides" | grep -q '"ok":true'; }
check "override accepted" override '{"method":"POST","path":"/api/v1.1/createorderprocess/createorder","status":204,"body":"","times":1}'
check "override: 204" test "$(status "$R" "${AUTH[@]}" "${POSTJSON[@]}" --data "$BODY" "$ORDER")" = 204
check "override: used up" test "$(status "$R" "${AUTH[@]}" "${POSTJSON[@]}" --data "$BODY" "$ORDER")" = 200
check "override: bad member refused" test "$("${C[@]}" -o /dev/null -w '%{http_code}' -X POST --data '{"method":"GET","path":"/x","oops":1}' "$URL/_sandbox/overrides")" = 400
override '{"method":"GET","path":"/api/v2.0/quotation-records/4711","status":200,"body":{"id":1},"times":1}'
check "override: auth still checked" test "$(status "$R" "$API/v2.0/quotation-records/4711")" = 401
check "override: then applied" test "$(status "$R" "${AUTH[@]}" "$API/v2.0/quotation-records/4711")" = 200 -a "$(cat "$R")" = '{"id":1}'
override '{"method":"GET","path":"/api/v2.0/quotation-records/4711","status":500,"skipAuth":true,"times":1}'
check "override: skipAuth" test "$(status "$R" "$API/v2.0/quotation-records/4711")" = 500
override '{"method":"GET","path":"/api/v2.0/quotation-records/4711","action":"stall","delayMs":1200,"times":1}'
T0=$(date +%s%N)
S=$(status "$R" "${AUTH[@]}" "$API/v2.0/quotation-records/4711")
T1=$(date +%s%N)
check "stall: answers after the delay" test "$S" = 200 -a $(((T1 - T0) / 1000000)) -ge 1100
override '{"method":"GET","path":"/api/v2.0/quotation-records/812","action":"reset","times":1}'
"${C[@]}" -o /dev/null "${AUTH[@]}" "$API/v2.0/quotation-records/812"
check "reset: connection dropped mid-body (curl 18)" test $? -eq 18
override "{\"method\":\"GET\",\"path\":\"/api/v2.0/quotation-records/1\",\"action\":\"redirect\",\"location\":\"$API/v2.0/quotation-records/4711\",\"times\":1}"
check "redirect: 302" test "$(status "$R" "${AUTH[@]}" "$API/v2.0/quotation-records/1")" = 302
check "redirect: Location" grep -qi "^Location: $API/v2.0/quotation-records/4711" "$H"
override '{"method":"GET","path":"/api/v2.0/quotation-records/4711","action":"stall","delayMs":60000,"times":1}'
"${C[@]}" --max-time 1 -o /dev/null "${AUTH[@]}" "$API/v2.0/quotation-records/4711"
check "stall: does not block others" test "$(status "$R" "${AUTH[@]}" "$API/v2.0/quotation-records/812")" = 200
"${C[@]}" -X DELETE "$URL/_sandbox/overrides" >/dev/null

# --- Scripted records and pictures --------------------------------------------------------
picture() { # picture FORMAT: prints "kind width height" of record 77's picture
    "${C[@]}" "${AUTH[@]}" "$API/v2.0/quotation-records/77" | python3 -c '
import base64, json, struct, sys
data = base64.b64decode(json.load(sys.stdin)["printImage"]["value"])
if data[:8] == b"\x89PNG\r\n\x1a\n":
    print("png", *struct.unpack(">II", data[16:24]))
elif data[:2] == b"BM":
    print("bmp", *struct.unpack("<ii", data[18:26]))
elif data[:2] == b"\xff\xd8":
    i = 2
    while i < len(data):
        marker, length = data[i + 1], struct.unpack(">H", data[i + 2:i + 4])[0]
        if marker in (0xC0, 0xC1, 0xC2):
            h, w = struct.unpack(">HH", data[i + 5:i + 9])
            print("jpeg", w, h)
            break
        i += 2 + length
else:
    print("unknown")'
}
for f in png jpeg bmp; do
    "${C[@]}" -X PUT --data-binary '{"id":77,"ecoTax":12.50,"printImage":{"value":"@IMAGE@"}}' \
        "$URL/_sandbox/records/77?image=$f&largeur=321&hauteur=123" >/dev/null
    check "scripted $f picture 321x123" test "$(picture)" = "$f 321 123"
done
check "scripted record kept verbatim" bash -c "${C[*]@Q} -u ${EMAIL@Q}:${PASS@Q} -H 'Rodid-Issuer: $KEY' $API/v2.0/quotation-records/77 | grep -q '^{\"id\":77,\"ecoTax\":12.50,'"

# --- Gateway and pricing page ---------------------------------------------------------------
GATE="$URL/index.php/Services/jeton"
MDP='d%26mo%20%23pass%3D%2B' # d&mo #pass=+
"${C[@]}" "$GATE?email=demo%40quelt.example&mdp=$MDP&passerelle=olka" >"$R"
check "session: token" has "$R" '^<?xml version="1.0" encoding="UTF-8"?><Configurateur><Jeton>[0-9a-f]\{32\}</Jeton>'
TOKEN=$(sed 's/.*<Jeton>\([^<]*\)<.*/\1/' "$R")
check "session: addresses on this host" has "$R" "<UrlConnexion>$URL/chiffrage?jeton=$TOKEN</UrlConnexion><UrlRecuperation>$URL/recuperation?jeton=$TOKEN</UrlRecuperation>"
"${C[@]}" "$GATE?email=demo@quelt.example&mdp=d%26mo&passerelle=olka" >"$R"
check "session: wrong password refused" bash -c "grep -q '<Erreur>' $R && ! grep -q '<Jeton>' $R"
"${C[@]}" "$GATE?email=demo@quelt.example&mdp=$MDP&passerelle=acme" >"$R"
check "session: unknown brand refused" has "$R" '<Erreur>Passerelle inconnue'
"${C[@]}" "$GATE?email=second@quelt.example&mdp=p%3Aw&passerelle=pavesc&jeton=4711" >"$R"
check "session: extra user, existing quote" has "$R" '<Jeton>'
UPDATE=$(sed 's/.*<Jeton>\([^<]*\)<.*/\1/' "$R")
"${C[@]}" "$GATE?email=second@quelt.example&mdp=p%3Aw&passerelle=pavesc&jeton=D123" >"$R"
check "session: unknown quote refused" has "$R" '<Erreur>Devis inconnu'

check "retrieval before pricing: empty Project" test "$(status "$R" "$URL/recuperation?jeton=$TOKEN")" = 200
check "retrieval: ISO-8859-1 XML" has "$R" "^<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Configurateur><Jeton>$TOKEN</Jeton><Passerelle>olka</Passerelle><Project></Project></Configurateur>$"
check "retrieval: unknown token 404" test "$(status "$R" "$URL/recuperation?jeton=nope")" = 404
check "page: 200" test "$(status "$R" "$URL/chiffrage?jeton=$TOKEN")" = 200
check "page: HTML form" bash -c "grep -q '<form method=\"post\" action=\"/chiffrage\">' $R && grep -q 'Valider le chiffrage' $R && grep -q 'name=\"produit\"' $R"
check "page: unknown token 404" test "$(status "$R" "$URL/chiffrage?jeton=nope")" = 404
check "page: update pre-filled" bash -c "${C[*]@Q} '$URL/chiffrage?jeton=$UPDATE' | grep -q 'value=\"Salon\"'"
check "pricing: 200" test "$(status "$R" --data-urlencode "jeton=$TOKEN" --data produit=fenetre-pvc \
    --data largeur=1000 --data hauteur=1500 --data quantite=2 --data-urlencode 'repere=Séjour' \
    --data options=oscillo --data options=bois "$URL/chiffrage")" = 200
check "pricing: confirmation" has "$R" 'Chiffrage enregistré'
check "pricing: asks to retrieve" has "$R" 'Récupérer le devis'
check "retrieval after pricing: Project" bash -c "${C[*]@Q} '$URL/recuperation?jeton=$TOKEN' | grep -q '<Project>5001</Project>'"
"${C[@]}" "${AUTH[@]}" "$API/v2.0/quotation-records/5001" >"$R"
check "priced record" has "$R" '"location":"Séjour","product":{"name":"Fenêtre PVC","quantity":2,'
check "priced record: two prices" bash -c "grep -q '\"totalPurchaseBasePrice\":[0-9]*\.[0-9][0-9],\"totalPurchasePrice\":[0-9]*\.[0-9][0-9],' $R"
check "pricing: bad size 400" test "$(status "$R" --data "jeton=$TOKEN&produit=fenetre-pvc&largeur=5&hauteur=1500&quantite=1" "$URL/chiffrage")" = 400
status "$R" --data "jeton=$UPDATE&produit=volet-roulant&largeur=900&hauteur=1200&quantite=1" "$URL/chiffrage" >/dev/null
check "pricing an update keeps the record id" bash -c "${C[*]@Q} '$URL/recuperation?jeton=$UPDATE' | grep -q '<Project>4711</Project>'"

# --- Reset and shutdown ------------------------------------------------------------------------
# (httplib reads a POST without Content-Length until the connection closes: always send a body.)
"${C[@]}" -X POST --data "" "$URL/_sandbox/reset" >/dev/null
check "reset: priced record gone" test "$(status "$R" "${AUTH[@]}" "$API/v2.0/quotation-records/5001")" = 404
check "reset: seed restored" bash -c "${C[*]@Q} -u ${EMAIL@Q}:${PASS@Q} -H 'Rodid-Issuer: $KEY' $API/v2.0/quotation-records/4711 | grep -q 'Fenêtre PVC'"
status "$R" "${AUTH[@]}" "${POSTJSON[@]}" --data "$BODY" "$ORDER" >/dev/null
check "reset: order counter restarted" has "$R" 'CDE-815'
check "reset: sessions dropped" test "$(status "$R" "$URL/recuperation?jeton=$TOKEN")" = 404

override '{"method":"GET","path":"/chiffrage","action":"stall","times":1}'
"${C[@]}" -o /dev/null "$URL/chiffrage?jeton=x" &
STALLED=$!
sleep 0.5
kill -TERM "$PID"
code=
for _ in $(seq 1 100); do
    if ! kill -0 "$PID" 2>/dev/null; then
        wait "$PID"
        code=$?
        break
    fi
    sleep 0.1
done
wait "$STALLED" 2>/dev/null
check "SIGTERM with a stalled request: exit 0 within 10 s" test "$code" = 0
PID=

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
