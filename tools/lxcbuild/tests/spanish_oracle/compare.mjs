// Compares the Spanish conjugation module with the independent conjugator of the npm
// package spanish-verbs: every verb of the module (reflexive ones aside), every simple and
// compound tense that package knows, every person.
//
// A form agrees when the package's form is one of ours. spanish-verbs conjugates unknown
// irregular verbs as regular ones (it has "plenty of exceptions still missing"): each verb
// where the two differ must be on known_differences.json under a reviewed reason, and a
// verb listed there that no longer differs fails too, so the list stays reviewed.
//
// usage: node compare.mjs PRINT_TOOL MODULE
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import readline from 'node:readline';
import { fileURLToPath } from 'node:url';

import { getConjugation } from 'spanish-verbs';

const here = path.dirname(fileURLToPath(import.meta.url));
const [tool, moduleFile, ...flags] = process.argv.slice(2);
if (!tool || !moduleFile) {
    console.error('usage: node compare.mjs PRINT_TOOL MODULE [--list]');
    process.exit(2);
}

// The module's tense codes of the package's tenses.
const tenses = {
    80: 'INDICATIVE_PRESENT', 83: 'INDICATIVE_IMPERFECT', 85: 'INDICATIVE_PRETERITE', 81: 'INDICATIVE_FUTURE',
    84: 'INDICATIVE_PERFECT', 86: 'INDICATIVE_PLUPERFECT', 82: 'INDICATIVE_FUTURE_PERFECT',
    87: 'INDICATIVE_PRETERITE_PERFECT', 90: 'SUBJUNCTIVE_PRESENT', 91: 'SUBJUNCTIVE_IMPERFECT_RA',
    93: 'SUBJUNCTIVE_IMPERFECT_SE', 94: 'SUBJUNCTIVE_FUTURE', 95: 'SUBJUNCTIVE_PERFECT', 92: 'SUBJUNCTIVE_PLUPERFECT',
    97: 'SUBJUNCTIVE_FUTURE_PERFECT', 88: 'CONDITIONAL_PRESENT', 89: 'CONDITIONAL_PERFECT',
};

const known = JSON.parse(fs.readFileSync(path.join(here, 'known_differences.json'), 'utf8'));
const reasonOf = new Map();
for (const group of known.groups) {
    for (const verb of group.verbs) {
        if (reasonOf.has(verb)) {
            console.error(`known_differences.json lists ${verb} twice`);
            process.exit(1);
        }
        reasonOf.set(verb, group.reason);
    }
}

const child = spawn(tool, [moduleFile, ...Object.keys(tenses)], { stdio: ['ignore', 'pipe', 'inherit'] });
const differing = new Map();  // verb -> first differences
let compared = 0;
const lines = readline.createInterface({ input: child.stdout });
for await (const line of lines) {
    const [verb, tense, person, joined] = line.split('\t');
    let theirs;
    try {
        theirs = getConjugation(verb, tenses[tense], Number(person) - 37);
    } catch (e) {
        theirs = `(error: ${e.message})`;
    }
    const ours = joined === '' ? [] : joined.split(',');
    ++compared;
    if (ours.includes(theirs)) continue;
    if (!differing.has(verb)) differing.set(verb, []);
    const d = differing.get(verb);
    if (d.length < 3) d.push(`${tense}/${person} ${theirs} (ours: ${ours.join(', ')})`);
}
const code = await new Promise((resolve) => child.on('close', resolve));
if (code !== 0) {
    console.error(`print tool failed (${code})`);
    process.exit(1);
}

const failures = [];
for (const [verb, d] of differing) {
    if (!reasonOf.has(verb)) failures.push(`${verb}: ${d.join('; ')}`);
}
for (const verb of reasonOf.keys()) {
    if (!differing.has(verb)) failures.push(`known difference no longer seen: ${verb}`);
}
if (flags.includes('--list')) {
    for (const [verb, d] of differing) console.log(`${verb}\t${d.join('; ')}`);
}
console.log(`spanish-verbs: ${compared} forms compared, ${differing.size} verbs differ (all reviewed: ${failures.length === 0})`);
if (failures.length > 0) {
    console.error(`${failures.length} unreviewed differences, first ones:\n${failures.slice(0, 40).join('\n')}`);
    process.exit(1);
}
if (compared < 100000) {
    console.error('too few forms compared');
    process.exit(1);
}
