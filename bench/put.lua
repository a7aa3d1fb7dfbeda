-- wrk script: a request with a JSON body (PUT, or the method in BENCH_METHOD;
-- the body comes from BENCH_BODY).
wrk.method = os.getenv("BENCH_METHOD") or "PUT"
wrk.body = os.getenv("BENCH_BODY") or "{}"
wrk.headers["Content-Type"] = "application/json"
