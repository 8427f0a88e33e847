#!/usr/bin/env bash
# The built program's start-up: parameter count, missing configuration, unknown mode.
. "$(dirname "$0")/commun.sh"

for parametres in "" "un" "un deux trois"; do
  dossier="$TRAVAIL/params-${parametres// /-}"
  mkdir -p "$dossier"
  (cd "$dossier" && exec "$PROGRAMME" $parametres) &
  pid=$!
  fenetre=$(attendre_fenetre "$TITRE_MESSAGES" 10)
  verifier "${#parametres} chars of parameters: a message window opens" test -n "$fenetre"
  [ -n "$fenetre" ] && presser_entree "$fenetre"
  attendre_fin "$pid" 10
  verifier "parameters '$parametres': exit 0 once answered" test "$CODE" = 0
  verifier "parameters '$parametres': no file written" test -z "$(ls -A "$dossier")"
done

resultat="$TRAVAIL/resultat.xml"
printf 'ancien' >"$resultat"
"$PROGRAMME" "$resultat" "$TRAVAIL/absent.ini" &
pid=$!
fenetre=$(attendre_fenetre "$TITRE_MESSAGES" 10)
verifier "missing configuration: a message window opens" test -n "$fenetre"
sleep 1.2
verifier "missing configuration: the message waits for the user" kill -0 "$pid"
[ -n "$fenetre" ] && presser_entree "$fenetre"
attendre_fin "$pid" 10
verifier "missing configuration: exit 0" test "$CODE" = 0
verifier "missing configuration: result file untouched" test "$(cat "$resultat")" = ancien

ecrire_config "$TRAVAIL/inconnu.ini" "[General]" "Version=1" "Configurateur=olka" "Mode=inconnu"
debut=$(date +%s%N)
"$PROGRAMME" "$resultat" "$TRAVAIL/inconnu.ini" &
pid=$!
attendre_fin "$pid" 10
duree_ms=$((($(date +%s%N) - debut) / 1000000))
verifier "unknown mode: exits by itself with 0" test "$CODE" = 0
verifier "unknown mode: well under 2 s (${duree_ms} ms)" test "$duree_ms" -lt 2000
verifier "unknown mode: result file untouched" test "$(cat "$resultat")" = ancien

bilan
