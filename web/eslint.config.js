// ESLint for the page, its service worker, and the scripts and tests that drive it in
// browsers (scripts/lint runs it from the project's root folder).
import js from "@eslint/js";
import globals from "globals";

export default [
  js.configs.recommended,
  {
    rules: {
      "no-shadow": "error",
      "no-var": "error",
      "prefer-const": "error",
      eqeqeq: ["error", "always"],
      "no-unused-vars": ["error", { caughtErrors: "none" }],
    },
  },
  {
    files: ["web/*.js"],
    ignores: ["web/sw.js", "web/eslint.config.js"],
    languageOptions: { sourceType: "module", globals: globals.browser },
  },
  {
    // Small modules and short functions: each file about one thing.
    files: ["web/*.js"],
    rules: {
      "max-lines": ["error", { max: 300, skipBlankLines: true, skipComments: true }],
      "max-lines-per-function": ["error", { max: 80 }],
    },
  },
  {
    files: ["web/sw.js"],
    languageOptions: { sourceType: "script", globals: globals.serviceworker },
  },
  {
    // Node scripts whose callbacks also run in the page (page.evaluate).
    files: ["scripts/web-tools/*.mjs", "tests/web/*.mjs", "web/eslint.config.js"],
    languageOptions: { sourceType: "module", globals: { ...globals.node, ...globals.browser } },
  },
];
