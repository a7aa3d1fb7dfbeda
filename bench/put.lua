-- wrk script: PUT with a JSON body (the body comes from BENCH_BODY).
wrk.method = "PUT"
wrk.body = os.getenv("BENCH_BODY") or "{}"
wrk.headers["Content-Type"] = "application/json"
