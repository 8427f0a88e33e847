#!/usr/bin/env bash
# The built program in modes verification and commande against a sandbox started here.
. "$(dirname "$0")/commun.sh"

demarrer_sandbox || exit 1
controle PUT /_sandbox/records/812 '{"id":812,"indirectMode":false}' >/dev/null
controle PUT /_sandbox/records/812/errorCode '"STATE_INVALID"' >/dev/null

resultat="$TRAVAIL/résultat verif.xml"
ecrire_config "$TRAVAIL/verif.ini" "[General]" "Version=1" "Configurateur=trun" "Mode=verification" \
  "[RecordId]" "Valeur=812"
"$PROGRAMME" "$resultat" "$TRAVAIL/verif.ini" &
attendre_fin $! 20
verifier "verification: exit 0" test "$CODE" = 0
attendu=$(printf '<?xml version="1.0" encoding="ISO-8859-1"?>\r\n<Configurateur><Project>812</Project><Verification><Code>STATE_INVALID</Code><Libelle>Identifiant invalide : 812</Libelle></Verification></Configurateur>\r\n_')
verifier "verification: result document byte for byte" test "$(cat "$resultat"; printf _)" = "$attendu"
journal=$(controle GET /_sandbox/log)
verifier "verification: GET of the record then POST of the check" \
  python3 -c 'import json,sys; j=json.loads(sys.argv[1]); assert [(r["method"],r["path"]) for r in j]==[("GET","/api/v2.0/quotation-records/812"),("POST","/api/v1.1/createorderprocess/checkquotationrecords")], j' "$journal"

controle DELETE /_sandbox/log >/dev/null
resultat="$TRAVAIL/commande.xml"
ecrire_config "$TRAVAIL/commande.ini" "[General]" "Version=1" "Configurateur=olka" "Mode=commande" \
  "[RecordId]" "Valeur=4711" "[Commande]" "Numero=2021-042" "Reference=Chantier Nord"
"$PROGRAMME" "$resultat" "$TRAVAIL/commande.ini" &
attendre_fin $! 20
verifier "commande: exit 0" test "$CODE" = 0
attendu=$(printf '<?xml version="1.0" encoding="ISO-8859-1"?>\r\n<Configurateur><Project>4711</Project><Commande><Code>REFERENCE</Code><Libelle>CDE-815</Libelle></Commande></Configurateur>\r\n_')
verifier "commande: result document byte for byte" test "$(cat "$resultat"; printf _)" = "$attendu"
journal=$(controle GET /_sandbox/log)
verifier "commande: the order body as sent" \
  python3 -c '
import base64, json, re, sys
j = json.loads(sys.argv[1])
assert len(j) == 1 and j[0]["method"] == "POST", j
corps = base64.b64decode(j[0]["bodyBase64"]).decode()
assert re.fullmatch(r"\{\"quotationRecordIds\": \[4711\],\"documentNumber\": \"de\(CALVENOR\)2021-042\",\"documentTitle\": \"Chantier Nord\",\"documentDate\": \"\\/Date\(\d+\+0100\)\\/\" ,\"comment\": \"\"\}", corps), corps
' "$journal"

# A failed order: the error box, the dialog stays open until closed, no result.
controle POST /_sandbox/overrides '{"method":"POST","path":"/api/v1.1/createorderprocess/createorder","status":500,"body":""}' >/dev/null
printf 'ancien' >"$resultat"
"$PROGRAMME" "$resultat" "$TRAVAIL/commande.ini" &
pid=$!
fenetre=$(attendre_fenetre "$TITRE_MESSAGES" 15)
verifier "failed order: an error message opens" test -n "$fenetre"
[ -n "$fenetre" ] && presser_entree "$fenetre"
attendre_disparition "$TITRE_MESSAGES" 5
dialogue=$(attendre_fenetre "Calvenor - Configurateur olka - Commande" 5)
verifier "failed order: the order dialog stays open" test -n "$dialogue"
[ -n "$dialogue" ] && python3 "$(dirname "$0")/fermer_fenetre.py" "$dialogue"
attendre_fin "$pid" 10
verifier "failed order: exit 0 once the dialog is closed" test "$CODE" = 0
verifier "failed order: result file untouched" test "$(cat "$resultat")" = ancien

bilan
